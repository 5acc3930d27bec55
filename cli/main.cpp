// corvane-scenes: get, send, show, compare, convert and draw scene tables from the command line.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <memory>
#include <string_view>

#include "cli/commands.h"

namespace {

// Qt's remarks while its platform starts are about the session, not the show ("XDG_RUNTIME_DIR
// not set" under cron or sudo): only a failure that stops the program is passed on.
void PlatformStartMessage(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    // picture draws text, which Qt lays out only under a QGuiApplication. It runs on the
    // offscreen platform whatever the environment names: it opens no window, so it needs no
    // display, and a platform that wants one would end the program before it began. Every other
    // command stays on QCoreApplication.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::string_view(argv[1]) == "picture") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QtMessageHandler previous = qInstallMessageHandler(PlatformStartMessage);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(previous);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("corvane-scenes"));
    return corvane::cli::Run(QCoreApplication::arguments());
}
