// corvane-scenes: get, send, show, compare and convert scene tables from the command line.
#include <QCoreApplication>

#include "cli/commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-scenes"));
    return corvane::cli::Run(QCoreApplication::arguments());
}
