// The commands of corvane-scenes.
#include "cli/commands.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <map>
#include <string>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/scene_csv.h"
#include "cli/scene_printing.h"
#include "cli/standard_output.h"
#include "document/plain_reason.h"
#include "document/scene_file.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"

namespace corvane::cli {
namespace {

// Loads a scene file, saying on standard error what about it is not as a scene file should be:
// bytes past the 8192 that are read, and levels a controller cannot hold (unless the command
// names those itself).
bool loadTable(const QString& path, SceneTable& table, int* status, bool warnOutOfRange = true) {
    QString error;
    if (!LoadSceneFile(path, table, &error)) {
        *status = complain(kFileError, text(error));
        return false;
    }
    const qint64 size = QFileInfo(path).size();
    if (size > kSceneFileSize)
        complain(kDone, text(path) + " is " + std::to_string(size) +
                            " bytes long; a scene file has " + std::to_string(kSceneFileSize) +
                            ": the rest is ignored");
    int outside = 0;
    for (int16_t level : table.storage()) outside += level < 0 || level > 255 ? 1 : 0;
    if (warnOutOfRange && outside > 0)
        complain(kDone, text(path) + " holds " + std::to_string(outside) +
                            (outside == 1 ? " level" : " levels") +
                            " outside 0 to 255, which no controller holds; is it a scene file?");
    return true;
}

int Get(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("get"),
        QStringLiteral(
            "Reads the controller's 64 scenes and writes them to FILE as a scene file, only "
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
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    SceneTable scenes;
    TransferOutcome outcome =
        session->connection().getScenes(scenes, session->events());
    // Ctrl-C during the last block: the technician asked for nothing to be written.
    if (outcome.ok() && session->interrupted()) outcome.kind = TransferOutcome::Kind::Interrupted;
    status = session->finish(outcome, "Upload Error.", text(file) + " was not written.");
    if (status != kDone) return status;
    QString error;
    if (!SaveSceneFile(file, scenes, &error)) return complain(kFileError, text(error));
    return kDone;
}

int Send(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("send"),
        QStringLiteral(
            "Writes the scene file FILE to the controller's 64 scenes; with --verify, reads "
            "every block back and reports each level that differs."),
        QStringLiteral("FILE"));
    LinkOptions link;
    link.addTo(cmd.parser);
    const QCommandLineOption verify(QStringLiteral("verify"),
                                    QStringLiteral("Read the scenes back and compare."));
    cmd.parser.addOption(verify);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;

    SceneTable scenes;
    // A refused send names every level a controller cannot hold; no warning is needed beside it.
    if (!loadTable(cmd.positional(0), scenes, &status, false)) return status;
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    TransferOutcome outcome =
        session->connection().sendScenes(scenes, session->events());
    status = session->finish(outcome, "Download Error.", DescribeSendConsequence(outcome));
    if (status != kDone || !cmd.parser.isSet(verify)) return status;

    SceneTable readBack;
    outcome = session->connection().getScenes(readBack, session->events());
    status =
        session->finish(outcome, "Upload Error.", "The show was sent but could not be checked.");
    if (status != kDone) return status;
    int differences = 0;
    const std::string report = PrintDifferences(scenes, readBack, &differences);
    if (differences == 0) {
        out.write("Verified: the controller holds every level sent.\n");
        return kDone;
    }
    out.write("Scene      Dimmer         sent    read\n");
    out.write(report);
    return complain(kNoAnswer, std::to_string(differences) + " level" +
                                   (differences == 1 ? "" : "s") +
                                   " read back differ from what was sent.");
}

int Show(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("show"),
        QStringLiteral(
            "Prints a scene of FILE (every scene without --scene) as the editor shows it."),
        QStringLiteral("FILE"));
    const QCommandLineOption scene(QStringLiteral("scene"),
                                   QStringLiteral("The scene to print, 1 to 64."),
                                   QStringLiteral("S"));
    const QCommandLineOption levels(QStringLiteral("levels"),
                                    QStringLiteral("Print raw levels 0 to 255, not percentages."));
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
            return complain(kUsage, "--scene takes a scene number from 1 to 64, not \"" +
                                        text(cmd.parser.value(scene)) + "\"");
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
    CommandLine cmd(
        QStringLiteral("diff"),
        QStringLiteral(
            "Lists every scene and dimmer whose level differs between scene files A and B. "
            "Exit status 0 when they hold the same levels, 1 when they differ."),
        QStringLiteral("A B"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    SceneTable a;
    SceneTable b;
    if (!loadTable(cmd.positional(0), a, &status) || !loadTable(cmd.positional(1), b, &status))
        return status;
    int differences = 0;
    const std::string report = PrintDifferences(a, b, &differences);
    if (differences == 0) return kDone;
    out.write("Scene      Dimmer            A       B\n");
    out.write(report);
    out.write(std::to_string(differences) +
              (differences == 1 ? " level differs.\n" : " levels differ.\n"));
    return kNoAnswer;
}

int Export(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("export"),
        QStringLiteral(
            "Prints the scene file FILE as CSV: a header row of dimmer names, then one row "
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
    CommandLine cmd(
        QStringLiteral("import"),
        QStringLiteral(
            "Reads CSV as written by export (or by a spreadsheet, with commas or semicolons "
            "between fields) and writes it to FILE as a scene file."),
        QStringLiteral("CSV FILE"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    const QString csvPath = cmd.positional(0);
    const QString target = cmd.positional(1);
    const std::string notWritten = "; " + text(target) + " was not written.";
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        return complain(kFileError, "Could not read " + text(csvPath) + ": " +
                                        text(PlainReason(csv.errorString())) + notWritten);
    const QByteArray content = csv.readAll();
    SceneTable table;
    std::string error;
    if (!ReadSceneCsv(std::string_view(content.constData(), static_cast<size_t>(content.size())),
                      table, &error))
        return complain(kFileError, "Could not read " + text(csvPath) + ": " + error + notWritten);
    QString saveError;
    if (!SaveSceneFile(target, table, &saveError)) return complain(kFileError, text(saveError));
    return kDone;
}

const char kUsageText[] =
    "Usage: corvane-scenes COMMAND [options] ...\n"
    "\n"
    "Commands:\n"
    "  get --port DEVICE [--node N] FILE              read the controller's scenes into FILE\n"
    "  send --port DEVICE [--node N] [--verify] FILE  write FILE's scenes to the controller\n"
    "  show FILE [--scene S] [--levels]               print scenes as the editor shows them\n"
    "  diff A B                                       list the levels that differ\n"
    "  export FILE                                    print FILE as CSV\n"
    "  import CSV FILE                                write CSV as the scene file FILE\n"
    "\n"
    "DEVICE is a device path (/dev/ttyUSB0), COM1 to COM8, or sim for the built-in simulated\n"
    "controller with its demo show. N is the node number, 1 to 254 (default 1), in decimal or\n"
    "as 0x and two hexadecimal digits (0x0A), as the window lists it.\n"
    "'corvane-scenes COMMAND --help' describes one command.\n"
    "\n"
    "Exit status: 0 done (diff: no difference), 1 the controller did not answer (diff: they\n"
    "differ), 2 wrong usage, 3 port error, 4 file error, 130 interrupted by Ctrl-C.\n";

int Dispatch(const QStringList& arguments, StandardOutput& out) {
    using Command = int (*)(const QStringList&, StandardOutput&);
    static const std::map<QString, Command> commands = {
        {QStringLiteral("get"), Get},       {QStringLiteral("send"), Send},
        {QStringLiteral("show"), Show},     {QStringLiteral("diff"), Diff},
        {QStringLiteral("export"), Export}, {QStringLiteral("import"), Import},
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
    const auto found = commands.find(command);
    if (found == commands.end())
        return complain(kUsage,
                        "unknown command \"" + text(command) +
                            "\" (commands: get, send, show, diff, export, import; see --help)");
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
