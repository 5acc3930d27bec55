// One command's options and file names, read the same way by every command of corvane-scenes.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>

namespace corvane::cli {

class StandardOutput;

inline constexpr char kProgram[] = "corvane-scenes";

// Prints "corvane-scenes: what" on standard error and returns status.
int complain(int status, const std::string& what);

std::string text(const QString& s);

class CommandLine {
  public:
    // positional: how the file names read in the usage line ("FILE", "A B").
    CommandLine(const QString& command, const QString& description, const QString& positional);

    QCommandLineParser parser;

    // Reads arguments (the program, the command, then its own); false when the command should stop
    // with *status: after --help (printed to out), or after a usage error (said on standard error).
    // An option given twice is a usage error, and so is a wrong count of file names.
    bool parse(const QStringList& arguments, int expectedPositionals, StandardOutput& out,
               int* status);

    QString positional(int i) const { return parser.positionalArguments().at(i); }

    // Lets the option be given more than once (backup's --port, one per line).
    void allowRepeated(const QString& option) { repeatable_.append(option); }

  private:
    QString name_;
    QCommandLineOption help_;
    QStringList repeatable_;
};

}  // namespace corvane::cli
