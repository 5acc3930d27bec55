// corvane-scenes: the usage text, and each command found by its name.
#include "cli/commands.h"

#include <cstdio>
#include <map>
#include <string>

#include "cli/command_line.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/standard_output.h"

namespace corvane::cli {
namespace {

const char kUsageText[] =
    "Usage: corvane-scenes COMMAND [options] ...\n"
    "\n"
    "Commands:\n"
    "  get --port DEVICE [--node N] FILE                  read the controller's scenes into FILE\n"
    "  send --port DEVICE [--node N] [--verify] [--backup OLD] FILE\n"
    "                                                     write FILE's scenes to the controller\n"
    "  verify --port DEVICE [--node N] FILE               compare the controller with FILE\n"
    "  scan --port DEVICE [--nodes LIST] [--limit MS]     list the controllers on the line\n"
    "  backup --port DEVICE [--port DEVICE]... [--nodes LIST] [--limit MS] [--keep N] DIR\n"
    "                                                     read every controller into DIR\n"
    "  show FILE [--scene S] [--levels]                   print scenes as the editor shows them\n"
    "  diff A B                                           list the levels that differ\n"
    "  export FILE                                        print FILE as CSV\n"
    "  import CSV FILE                                    write CSV as the scene file FILE\n"
    "  picture FILE OUT.png [--diff OTHER]                draw FILE (or what differs) as a PNG\n"
    "\n"
    "DEVICE is a device path (/dev/ttyUSB0), COM1 to COM8, or sim for the built-in simulated\n"
    "controller with its demo show. N is the node number, 1 to 254 (default 1), in decimal or\n"
    "as 0x and two hexadecimal digits (0x0A), as the window lists it. LIST is node numbers and\n"
    "ranges such as 3,17,20-30 (default 1-254).\n"
    "'corvane-scenes COMMAND --help' describes one command; --version prints the version.\n"
    "\n"
    "Exit status: 0 done (diff: no difference), 1 the controller did not answer (diff: they\n"
    "differ), 2 wrong usage, 3 port error, 4 file error, 5 the controller holds other levels\n"
    "(verify, send --verify; backup: one or more changed), 130 interrupted by Ctrl-C.\n";

int Dispatch(const QStringList& arguments, StandardOutput& out) {
    using Command = int (*)(const QStringList&, StandardOutput&);
    static const std::map<QString, Command> commands = {
        {QStringLiteral("get"), Get},       {QStringLiteral("send"), Send},
        {QStringLiteral("verify"), Verify}, {QStringLiteral("scan"), Scan},
        {QStringLiteral("backup"), Backup}, {QStringLiteral("show"), Show},
        {QStringLiteral("diff"), Diff},     {QStringLiteral("export"), Export},
        {QStringLiteral("import"), Import}, {QStringLiteral("picture"), Picture},
    };
    if (arguments.size() < 2) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    const QString& command = arguments.at(1);
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h") ||
        command == QStringLiteral("help")) {
        out.write(kUsageText);
        return kDone;
    }
    // The same answer as the tool and the simulator give.
    if (arguments.size() == 2 &&
        (command == QStringLiteral("--version") || command == QStringLiteral("-v"))) {
        out.write(std::string(kProgram) + " " + CORVANE_VERSION + "\n");
        return kDone;
    }
    const auto found = commands.find(command);
    if (found == commands.end()) {
        std::string names;
        for (const auto& [name, run] : commands) names += (names.empty() ? "" : ", ") + text(name);
        return complain(kUsage, "unknown command \"" + text(command) + "\" (commands: " + names +
                                    "; see --help)");
    }
    return found->second(arguments, out);
}

}  // namespace

int Run(const QStringList& arguments) {
    StandardOutput out(stdout);
    const int status = Dispatch(arguments, out);
    const std::string failed = out.close();
    if (!failed.empty())
        return complain(kFileError, "Could not write to standard output: " + failed);
    return status;
}

}  // namespace corvane::cli
