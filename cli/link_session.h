// A command's line to a controller: the --port and --node (or --nodes and --limit) options, the
// connection they name, progress on standard error, Ctrl-C between blocks, and the words for a
// transfer or a search that did not finish.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/interrupt_watch.h"
#include "connection/controller_connection.h"

namespace corvane::cli {

// The options of the commands that reach a controller: --port, and --node for one controller or
// --nodes and --limit for a search.
struct LinkOptions {
    enum class Reach { OneNode, Search };
    explicit LinkOptions(Reach reach = Reach::OneNode) : reach(reach) {}

    Reach reach;
    QCommandLineOption port{
        QStringLiteral("port"),
        QStringLiteral("The line to the controller: a device path, COM1 to COM8, "
                       "rfc2217://HOST:PORT, tcp://HOST:PORT, or sim."),
        QStringLiteral("DEVICE")};
    QCommandLineOption node{
        QStringLiteral("node"),
        QStringLiteral("The controller's node number, 1 to 254 (default 1), in decimal or as "
                       "0x and two hexadecimal digits (0x0A)."),
        QStringLiteral("N"), QStringLiteral("1")};
    QCommandLineOption nodes{
        QStringLiteral("nodes"),
        QStringLiteral("The nodes to look at: numbers and ranges such as 3,17,20-30, in "
                       "decimal or 0x hexadecimal (default 1-254)."),
        QStringLiteral("LIST"), QStringLiteral("1-254")};
    QCommandLineOption limit{
        QStringLiteral("limit"),
        QStringLiteral("How long each node is first given to answer, in milliseconds (default "
                       "50); a node is listed only after it answered again with a full second."),
        QStringLiteral("MS"), QStringLiteral("50")};

    void addTo(QCommandLineParser& parser) const;
};

class LinkSession {
  public:
    // nullptr after a usage or port problem, which has been said, with its exit status in *status.
    static std::unique_ptr<LinkSession> open(const QCommandLineParser& parser,
                                             const LinkOptions& options, int* status);
    // The same for the line named port, in place of --port's value.
    static std::unique_ptr<LinkSession> open(const QCommandLineParser& parser,
                                             const LinkOptions& options, const std::string& port,
                                             int* status);

    // One of several lines at once: progress names the line ("ttyUSB0 Block: 12 Of 64") in plain
    // lines, since lines redrawn in place by several lines would overwrite each other, and Ctrl-C
    // is asked of stop, which all the lines share.
    void runBeside(std::string lineName, std::function<bool()> stop);

    // Progress lines and Ctrl-C for a transfer, and for a search. phase names what the transfer
    // is for, before its block ("Node: 03", "Sending:"); empty for none. found: told each node as
    // it is confirmed, once the progress line is out of the way.
    TransferEvents events(const std::string& phase = {});
    ScanEvents scanEvents(std::function<void(int node)> found = {});

    // Ends the progress line; then the exit status and message for a transfer that did not finish.
    // failure: the specified error text ("Upload Error."); consequence: what the failure left
    // behind, a sentence of its own ("FILE was not written.").
    int finish(const TransferOutcome& outcome, const char* failure, const std::string& consequence);
    // The same for a search: 0 when it went through every node, whatever it found.
    int finish(const ScanOutcome& outcome);
    // Ends the progress line, then says what was done on standard error: "Read Node: 03 on COM1
    // into show.SCN."
    void done(const std::string& what);
    // "Node: 03 on COM1", the controller the connection is on.
    std::string place();

    // Ctrl-C has been pressed since the session opened (and is taken).
    bool interrupted() { return stop_ ? stop_() : interrupt_.interrupted(); }

    ControllerConnection& connection() { return *connection_; }
    // With LinkOptions::Reach::Search: the nodes to look at, and each one's time limit.
    const std::vector<int>& nodes() const { return nodes_; }
    int32_t limitMs() const { return limitMs_; }

  private:
    explicit LinkSession(std::unique_ptr<ControllerConnection> connection);
    void progress(const std::string& what);
    void endProgressLine();
    // Clears the progress line on a terminal, so that a line of standard output can be written.
    void clearProgressLine();
    // "Node: 01, Block: 05 Of 64. " for a line lost during a transfer; nothing while opening.
    std::string lostAt(const TransferOutcome& outcome) const;

    std::unique_ptr<ControllerConnection> connection_;
    std::vector<int> nodes_;
    int32_t limitMs_ = kProbeLimitMs;
    InterruptWatch interrupt_;
    std::function<bool()> stop_;
    std::string lineName_;
    bool onTerminal_;
    bool started_ = false;
    size_t shownLength_ = 0;  // of the progress line on a terminal
};

}  // namespace corvane::cli
