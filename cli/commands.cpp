// The commands of corvane-scenes.
#include "cli/commands.h"

#include <QCommandLineParser>
#include <QFile>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "cli/exit_codes.h"
#include "cli/line_device.h"
#include "cli/scene_csv.h"
#include "cli/scene_printing.h"
#include "cli/standard_output.h"
#include "document/scene_file.h"
#include "document/scene_names.h"
#include "link/controller_link.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"

namespace corvane::cli {
namespace {

const char kProgram[] = "corvane-scenes";

int complain(int status, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", kProgram, what.c_str());
    return status;
}

std::string text(const QString& s) { return s.toStdString(); }

// One command's options and file names; parse() returns false (after printing) when the command
// should stop with *status.
struct CommandLine {
    QCommandLineParser parser;
    QString name;

    CommandLine(const QString& command, const QString& description, const QString& positional) : name(command) {
        parser.setApplicationDescription(description);
        parser.addHelpOption();
        parser.addPositionalArgument(positional, QString());
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }

    bool parse(const QStringList& arguments, int expectedPositionals, StandardOutput& out, int* status) {
        QStringList args = arguments;
        args.removeAt(1);  // the command name
        if (!parser.parse(args)) {
            *status = complain(kUsage, name.toStdString() + ": " + text(parser.errorText()) + " (see --help)");
            return false;
        }
        if (parser.isSet(QStringLiteral("help"))) {
            // Qt names the program by its path; the technician typed "corvane-scenes get".
            QString help = parser.helpText();
            const qsizetype space = help.indexOf(' ', QStringLiteral("Usage: ").size());
            help.replace(0, space, QStringLiteral("Usage: %1 %2").arg(QString::fromLatin1(kProgram), name));
            out.write(text(help));
            *status = kDone;
            return false;
        }
        if (parser.positionalArguments().size() != expectedPositionals) {
            *status = complain(kUsage, name.toStdString() + ": expected " + std::to_string(expectedPositionals) +
                                           " file name" + (expectedPositionals == 1 ? "" : "s") + ", got " +
                                           std::to_string(parser.positionalArguments().size()) + " (see --help)");
            return false;
        }
        return true;
    }

    QString positional(int i) const { return parser.positionalArguments().at(i); }
};

bool loadTable(const QString& path, SceneTable& table, int* status) {
    QString error;
    if (LoadSceneFile(path, table, &error)) return true;
    *status = complain(kFileError, text(error));
    return false;
}

// The link options shared by get and send.
struct LinkOptions {
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("The line to the controller: a device path, COM1 to COM8, or sim."),
                            QStringLiteral("DEVICE")};
    QCommandLineOption node{QStringLiteral("node"), QStringLiteral("The controller's node number, 1 to 254 (default 1)."),
                            QStringLiteral("N"), QStringLiteral("1")};

    void addTo(QCommandLineParser& parser) {
        parser.addOption(port);
        parser.addOption(node);
    }
};

// A transfer on the named device; prints progress to stderr.
class Session {
public:
    static std::unique_ptr<Session> Open(const QCommandLineParser& parser, const LinkOptions& options, int* status) {
        if (!parser.isSet(options.port)) {
            *status = complain(kUsage, "--port DEVICE is required (a device path, COM1 to COM8, or sim)");
            return nullptr;
        }
        bool numeric = false;
        const int node = parser.value(options.node).toInt(&numeric, 10);
        if (!numeric || node < 1 || node > 254) {
            *status = complain(kUsage, "--node takes a node number from 1 to 254, not \"" + text(parser.value(options.node)) + "\"");
            return nullptr;
        }
        std::string error;
        std::unique_ptr<LineDevice> device = LineDevice::Open(text(parser.value(options.port)), &error);
        if (!device) {
            *status = complain(kPortError, error);
            return nullptr;
        }
        return std::unique_ptr<Session>(new Session(std::move(device), node));
    }

    TransferEvents events() {
        TransferEvents e;
        e.blockStarting = [this](int block) { progress(block); };
        return e;
    }

    // Ends the progress line; then the exit status and message for a failed transfer, closed by
    // the consequence, a sentence of its own.
    int finish(const TransferOutcome& outcome, const char* errorText, const std::string& consequence) {
        if (onTerminal_ && started_) std::fputc('\n', stderr);
        started_ = false;
        switch (outcome.kind) {
            case TransferOutcome::Kind::Done: return kDone;
            case TransferOutcome::Kind::BlockFailed:
                return complain(kNoAnswer, std::string(errorText) + " The controller on " + device_->label() +
                                               " (node " + std::to_string(node_) + ") did not answer block " +
                                               SceneNumberText(outcome.block) + " of 64 after three attempts. " +
                                               consequence);
            case TransferOutcome::Kind::PortFailed:
                return complain(kPortError, DescribePortFailure(outcome, device_->label()) + " " + consequence);
            case TransferOutcome::Kind::LevelOutOfRange: return complain(kFileError, DescribeLevelOutOfRange(outcome));
        }
        return kNoAnswer;
    }

    SceneTransfer& transfer() { return transfer_; }
    int16_t commPort() const { return device_->commPort(); }

private:
    Session(std::unique_ptr<LineDevice> device, int node)
        : device_(std::move(device)),
          node_(node),
          comCV_(device_->names()),
          link_(comCV_, stopwatch_, [node] { return node - 1; }),
          transfer_(link_),
          onTerminal_(isatty(STDERR_FILENO) == 1) {}

    void progress(int block) {
        const std::string line = "Block: " + SceneNumberText(block) + " Of 64";
        if (onTerminal_) {
            std::fprintf(stderr, "\r%s", line.c_str());
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        std::fflush(stderr);
        started_ = true;
    }

    std::unique_ptr<LineDevice> device_;
    int node_;
    QtSerialControl comCV_;
    SteadyStopwatch stopwatch_;
    ControllerLink link_;
    SceneTransfer transfer_;
    bool onTerminal_;
    bool started_ = false;
};

int Get(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("get"),
                    QStringLiteral("Reads the controller's 64 scenes and writes them to FILE as a scene file, only "
                                   "when all 64 blocks arrived."),
                    QStringLiteral("FILE"));
    LinkOptions link;
    link.addTo(cmd.parser);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    // A target that cannot take the file is said before the controller is read, not after.
    const QString file = cmd.positional(0);
    QString targetProblem;
    if (!CheckSaveTarget(file, &targetProblem)) return complain(kFileError, text(targetProblem));
    std::unique_ptr<Session> session = Session::Open(cmd.parser, link, &status);
    if (!session) return status;

    SceneTable scenes;
    const TransferOutcome outcome = session->transfer().GetScenes(session->commPort(), scenes, session->events());
    status = session->finish(outcome, "Upload Error.", text(file) + " was not written.");
    if (status != kDone) return status;
    QString error;
    if (!SaveSceneFile(file, scenes, &error)) return complain(kFileError, text(error));
    return kDone;
}

int Send(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("send"),
                    QStringLiteral("Writes the scene file FILE to the controller's 64 scenes; with --verify, reads "
                                   "every block back and reports each level that differs."),
                    QStringLiteral("FILE"));
    LinkOptions link;
    link.addTo(cmd.parser);
    const QCommandLineOption verify(QStringLiteral("verify"), QStringLiteral("Read the scenes back and compare."));
    cmd.parser.addOption(verify);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;

    SceneTable scenes;
    if (!loadTable(cmd.positional(0), scenes, &status)) return status;
    std::unique_ptr<Session> session = Session::Open(cmd.parser, link, &status);
    if (!session) return status;

    TransferOutcome outcome = session->transfer().SendScenes(session->commPort(), scenes, session->events());
    status = session->finish(outcome, "Download Error.", DescribeSendConsequence(outcome));
    if (status != kDone || !cmd.parser.isSet(verify)) return status;

    SceneTable readBack;
    outcome = session->transfer().GetScenes(session->commPort(), readBack, session->events());
    status = session->finish(outcome, "Upload Error.", "The show was sent but could not be checked.");
    if (status != kDone) return status;
    int differences = 0;
    const std::string report = PrintDifferences(scenes, readBack, &differences);
    if (differences == 0) {
        out.write("Verified: the controller holds every level sent.\n");
        return kDone;
    }
    out.write("Scene      Dimmer         sent    read\n");
    out.write(report);
    return complain(kNoAnswer, std::to_string(differences) + " level" + (differences == 1 ? "" : "s") +
                                   " read back differ from what was sent.");
}

int Show(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("show"),
                    QStringLiteral("Prints a scene of FILE (every scene without --scene) as the editor shows it."),
                    QStringLiteral("FILE"));
    const QCommandLineOption scene(QStringLiteral("scene"), QStringLiteral("The scene to print, 1 to 64."),
                                   QStringLiteral("S"));
    const QCommandLineOption levels(QStringLiteral("levels"), QStringLiteral("Print raw levels 0 to 255, not percentages."));
    cmd.parser.addOption(scene);
    cmd.parser.addOption(levels);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;

    int first = 0;
    int last = kSceneCount - 1;
    if (cmd.parser.isSet(scene)) {
        bool numeric = false;
        const int s = cmd.parser.value(scene).toInt(&numeric, 10);
        if (!numeric || s < 1 || s > kSceneCount)
            return complain(kUsage, "--scene takes a scene number from 1 to 64, not \"" + text(cmd.parser.value(scene)) + "\"");
        first = last = s - 1;
    }
    SceneTable table;
    if (!loadTable(cmd.positional(0), table, &status)) return status;
    const LevelFormat format = cmd.parser.isSet(levels) ? LevelFormat::Raw : LevelFormat::Percent;
    for (int s = first; s <= last; ++s) {
        if (s != first) out.write("\n");
        out.write(PrintScene(table, s, format));
    }
    return kDone;
}

int Diff(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("diff"),
                    QStringLiteral("Lists every scene and dimmer whose level differs between scene files A and B. "
                                   "Exit status 0 when they hold the same levels, 1 when they differ."),
                    QStringLiteral("A B"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    SceneTable a;
    SceneTable b;
    if (!loadTable(cmd.positional(0), a, &status) || !loadTable(cmd.positional(1), b, &status)) return status;
    int differences = 0;
    const std::string report = PrintDifferences(a, b, &differences);
    if (differences == 0) return kDone;
    out.write("Scene      Dimmer            A       B\n");
    out.write(report);
    out.write(std::to_string(differences) + (differences == 1 ? " level differs.\n" : " levels differ.\n"));
    return kNoAnswer;
}

int Export(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("export"),
                    QStringLiteral("Prints the scene file FILE as CSV: a header row of dimmer names, then one row "
                                   "per scene."),
                    QStringLiteral("FILE"));
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    SceneTable table;
    if (!loadTable(cmd.positional(0), table, &status)) return status;
    out.write(WriteSceneCsv(table));
    return kDone;
}

int Import(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(QStringLiteral("import"),
                    QStringLiteral("Reads CSV as written by export and writes it to FILE as a scene file."),
                    QStringLiteral("CSV FILE"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    const QString csvPath = cmd.positional(0);
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        return complain(kFileError, "Could not read " + text(csvPath) + ": " + text(csv.errorString()));
    const QByteArray content = csv.readAll();
    SceneTable table;
    std::string error;
    if (!ReadSceneCsv(std::string_view(content.constData(), static_cast<size_t>(content.size())), table, &error))
        return complain(kFileError, text(csvPath) + ": " + error + "; " + text(cmd.positional(1)) + " was not written.");
    QString saveError;
    if (!SaveSceneFile(cmd.positional(1), table, &saveError)) return complain(kFileError, text(saveError));
    return kDone;
}

const char kUsageText[] =
    "Usage: corvane-scenes COMMAND [options] ...\n"
    "\n"
    "Commands:\n"
    "  get --port DEVICE [--node N] FILE             read the controller's scenes into FILE\n"
    "  send --port DEVICE [--node N] [--verify] FILE  write FILE's scenes to the controller\n"
    "  show FILE [--scene S] [--levels]              print scenes as the editor shows them\n"
    "  diff A B                                      list the levels that differ\n"
    "  export FILE                                   print FILE as CSV\n"
    "  import CSV FILE                               write CSV as the scene file FILE\n"
    "\n"
    "DEVICE is a device path (/dev/ttyUSB0), COM1 to COM8, or sim for the built-in simulated\n"
    "controller with its demo show. N is the node number, 1 to 254 (default 1).\n"
    "'corvane-scenes COMMAND --help' describes one command.\n"
    "\n"
    "Exit status: 0 done (diff: no difference), 1 the controller did not answer (diff: they\n"
    "differ), 2 wrong usage, 3 port error, 4 file error.\n";

}  // namespace

namespace {

int Dispatch(const QStringList& arguments, StandardOutput& out) {
    using Command = int (*)(const QStringList&, StandardOutput&);
    static const std::map<QString, Command> commands = {
        {QStringLiteral("get"), Get},       {QStringLiteral("send"), Send},     {QStringLiteral("show"), Show},
        {QStringLiteral("diff"), Diff},     {QStringLiteral("export"), Export}, {QStringLiteral("import"), Import},
    };
    if (arguments.size() < 2) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    const QString& command = arguments.at(1);
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h") || command == QStringLiteral("help")) {
        out.write(kUsageText);
        return kDone;
    }
    const auto found = commands.find(command);
    if (found == commands.end())
        return complain(kUsage, "unknown command \"" + text(command) + "\" (commands: get, send, show, diff, export, import; see --help)");
    return found->second(arguments, out);
}

}  // namespace

int Run(const QStringList& arguments) {
    StandardOutput out(stdout);
    const int status = Dispatch(arguments, out);
    const std::string failed = out.close();
    if (!failed.empty()) return complain(kFileError, "Could not write to standard output: " + failed);
    return status;
}

}  // namespace corvane::cli
