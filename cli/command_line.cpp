// One command's options and file names.
#include "cli/command_line.h"

#include <cstdio>

#include "cli/exit_codes.h"
#include "cli/standard_output.h"

namespace corvane::cli {

int complain(int status, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", kProgram, what.c_str());
    return status;
}

std::string text(const QString& s) {
    return s.toStdString();
}

CommandLine::CommandLine(const QString& command, const QString& description,
                         const QString& positional)
    : name_(command),
      // Only -h and --help: Qt's own --help-all would list options a command does not take.
      help_(QStringList{QStringLiteral("h"), QStringLiteral("help")},
            QStringLiteral("Displays help on commandline options.")) {
    parser.setApplicationDescription(description);
    parser.addOption(help_);
    // A command that takes no file name shows no empty "Arguments:" section.
    if (!positional.isEmpty()) parser.addPositionalArgument(positional, QString());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

bool CommandLine::parse(const QStringList& arguments, int expectedPositionals, StandardOutput& out,
                        int* status) {
    const std::string command = text(name_);
    QStringList args = arguments;
    args.removeAt(1);  // the command name
    if (!parser.parse(args)) {
        *status = complain(kUsage, command + ": " + text(parser.errorText()) + " (see --help)");
        return false;
    }
    if (parser.isSet(help_)) {
        // Qt names the program by its path; the technician typed "corvane-scenes get".
        QString help = parser.helpText();
        const qsizetype space = help.indexOf(' ', QStringLiteral("Usage: ").size());
        help.replace(0, space,
                     QStringLiteral("Usage: %1 %2").arg(QString::fromLatin1(kProgram), name_));
        out.write(text(help));
        *status = kDone;
        return false;
    }
    const QStringList given = parser.optionNames();
    for (const QString& option : given) {
        if (given.count(option) > 1 && !repeatable_.contains(option)) {
            *status = complain(
                kUsage, command + ": --" + text(option) + " was given more than once (see --help)");
            return false;
        }
    }
    if (parser.positionalArguments().size() != expectedPositionals) {
        *status = complain(
            kUsage, command + ": expected " + std::to_string(expectedPositionals) + " file name" +
                        (expectedPositionals == 1 ? "" : "s") + ", got " +
                        std::to_string(parser.positionalArguments().size()) + " (see --help)");
        return false;
    }
    return true;
}

}  // namespace corvane::cli
