// corvane-scenes: get, send, show, compare and convert scene tables from the command line.
#include <QCoreApplication>
#include <cstdio>

#include "cli/commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-scenes"));
    const QStringList arguments = QCoreApplication::arguments();
    // The same answer as the tool and the simulator give, which name their version with -v too.
    if (arguments.size() == 2 && (arguments.at(1) == QStringLiteral("--version") ||
                                  arguments.at(1) == QStringLiteral("-v"))) {
        std::printf("corvane-scenes %s\n", CORVANE_VERSION);
        return 0;
    }
    return corvane::cli::Run(arguments);
}
