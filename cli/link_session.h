// A command's line to a controller: the --port and --node options, the device they name, progress
// on standard error, Ctrl-C between blocks, and the words for a transfer that did not finish.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <memory>
#include <string>

#include "cli/interrupt_watch.h"
#include "connection/controller_connection.h"
#include "transfer/scene_transfer.h"

namespace corvane::cli {

// The options every command that reaches a controller takes.
struct LinkOptions {
    QCommandLineOption port{
        QStringLiteral("port"),
        QStringLiteral("The line to the controller: a device path, COM1 to COM8, or sim."),
        QStringLiteral("DEVICE")};
    QCommandLineOption node{
        QStringLiteral("node"),
        QStringLiteral("The controller's node number, 1 to 254 (default 1), in decimal or as "
                       "0x and two hexadecimal digits (0x0A)."),
        QStringLiteral("N"), QStringLiteral("1")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOption(port);
        parser.addOption(node);
    }
};

class LinkSession {
  public:
    // nullptr after a usage or port problem, which has been said, with its exit status in *status.
    static std::unique_ptr<LinkSession> open(const QCommandLineParser& parser,
                                             const LinkOptions& options, int* status);

    // Progress lines and Ctrl-C for a transfer.
    TransferEvents events();

    // Ends the progress line; then the exit status and message for a transfer that did not finish.
    // failure: the specified error text ("Upload Error."); consequence: what the failure left
    // behind, a sentence of its own ("FILE was not written.").
    int finish(const TransferOutcome& outcome, const char* failure, const std::string& consequence);

    // Ctrl-C has been pressed since the session opened (and is taken).
    bool interrupted() { return interrupt_.interrupted(); }

    ControllerConnection& connection() { return *connection_; }

  private:
    explicit LinkSession(std::unique_ptr<ControllerConnection> connection);
    void progress(int block);
    void endProgressLine();

    std::unique_ptr<ControllerConnection> connection_;
    InterruptWatch interrupt_;
    bool onTerminal_;
    bool started_ = false;
};

}  // namespace corvane::cli
