// The commands of corvane-scenes that reach a controller: get, send, verify, scan, backup.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <string>

#include "cli/backup_history.h"
#include "cli/backup_lines.h"
#include "cli/command_line.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/scene_printing.h"
#include "cli/standard_output.h"
#include "cli/table_files.h"
#include "link/node_numbers.h"
#include "transfer/transfer_report.h"

namespace corvane::cli {
namespace {

constexpr char kUploadError[] = "Upload Error.";
constexpr char kDownloadError[] = "Download Error.";

// Reads the session's controller into scenes; Ctrl-C during the last block still counts, since
// the technician asked for nothing to follow. consequence: what a failure leaves behind.
int GetInto(LinkSession& session, SceneTable& scenes, const std::string& consequence,
            const std::string& phase = {}) {
    TransferOutcome outcome = session.connection().getScenes(scenes, session.events(phase));
    if (outcome.ok() && session.interrupted()) outcome.kind = TransferOutcome::Kind::Interrupted;
    return session.finish(outcome, kUploadError, consequence);
}

// Lists the levels of expected that the controller does not hold, under the columns
// "Scene Dimmer <expected> read"; kDone when there are none.
int Compare(const SceneTable& expected, const char* expectedColumn, const SceneTable& held,
            StandardOutput& out, const std::string& whatDiffers) {
    int differences = 0;
    out.write(PrintDifferences(
        expected, held, "Scene      Dimmer         " + std::string(expectedColumn) + "    read",
        &differences));
    if (differences == 0) return kDone;
    return complain(kDiffer, std::to_string(differences) +
                                 (differences == 1 ? " level " : " levels ") + whatDiffers);
}

QString BackupFile(const QString& dir, int node) {
    return QDir(dir).filePath(QStringLiteral("node-%1.SCN").arg(node));
}

// Makes sure dir takes the backup of every node before any controller is asked: creates it when
// its parent exists, and refuses a folder that cannot take new files or a node's file that is not
// a regular one (a save would replace a device or a pipe).
bool PrepareBackupFolder(const QString& dir, const std::vector<int>& nodes, int* status) {
    const QFileInfo info(dir);
    const auto refuse = [&](const std::string& why) {
        *status = complain(kFileError, "Could not save in " + text(dir) + ": " + why +
                                           " Nothing was read from a controller.");
        return false;
    };
    if (!info.exists()) {
        if (!info.absoluteDir().exists())
            return refuse("neither the folder nor the folder it would be made in exists.");
        if (!QDir().mkdir(dir)) return refuse("the folder could not be created.");
    } else if (!info.isDir()) {
        return refuse("it is not a folder.");
    }
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".corvane-XXXXXX")));
    if (!probe.open())
        return refuse("new files cannot be created in it (" + text(probe.errorString()) + ").");
    for (int node : nodes) {
        const QString file = BackupFile(dir, node);
        if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
            if (!CheckTarget(file, status)) return false;
    }
    return true;
}

}  // namespace

int Get(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("get"),
        QStringLiteral(
            "Reads the controller's 64 scenes and writes them to FILE as a scene file, only "
            "when all 64 blocks arrived."),
        QStringLiteral("FILE"));
    const LinkOptions link;
    link.addTo(cmd.parser);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    // A target that cannot take the file is said before the controller is read, not after.
    const QString file = cmd.positional(0);
    if (!CheckWriteName(QStringLiteral("get"), file, {}, true, &status) ||
        !CheckTarget(file, &status))
        return status;
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    SceneTable scenes;
    status = GetInto(*session, scenes, text(file) + " was not written.");
    if (status != kDone) return status;
    if (!SaveTable(file, scenes, &status)) return status;
    session->done("Read " + session->place() + " into " + text(file) + ".");
    return kDone;
}

int Send(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("send"),
        QStringLiteral(
            "Writes the scene file FILE to the controller's 64 scenes; with --verify, reads "
            "every block back and reports each level that differs; with --backup, first "
            "keeps what the controller held in OLD."),
        QStringLiteral("FILE"));
    const LinkOptions link;
    link.addTo(cmd.parser);
    const QCommandLineOption verify(QStringLiteral("verify"),
                                    QStringLiteral("Read the scenes back and compare."));
    const QCommandLineOption backup(
        QStringLiteral("backup"),
        QStringLiteral("Read the controller's scenes into the scene file OLD first; "
                       "nothing is sent unless that worked."),
        QStringLiteral("OLD"));
    cmd.parser.addOption(verify);
    cmd.parser.addOption(backup);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;

    const QString old = cmd.parser.value(backup);
    if (cmd.parser.isSet(backup) &&
        !CheckWriteName(QStringLiteral("send"), old, {cmd.positional(0)}, true, &status))
        return status;
    SceneTable scenes;
    // A refused send names every level a controller cannot hold; no warning is needed beside it.
    if (!LoadTable(cmd.positional(0), scenes, &status, false)) return status;
    TransferOutcome refused;
    refused.badLevels = LevelsOutOfRange(scenes);
    if (!refused.badLevels.empty()) return complain(kFileError, DescribeLevelOutOfRange(refused));
    if (cmd.parser.isSet(backup) && !CheckTarget(old, &status)) return status;
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    // With more than one phase, each block's progress says which one it belongs to.
    const bool phased = cmd.parser.isSet(backup) || cmd.parser.isSet(verify);
    if (cmd.parser.isSet(backup)) {
        SceneTable held;
        status = GetInto(*session, held, text(old) + " was not written, and nothing was sent.",
                         "Reading into " + text(old) + ":");
        if (status != kDone) return status;
        if (!SaveTable(old, held, &status)) return status;
    }

    TransferOutcome outcome =
        session->connection().sendScenes(scenes, session->events(phased ? "Sending:" : ""));
    status = session->finish(outcome, kDownloadError, DescribeSendConsequence(outcome));
    if (status != kDone) return status;
    const std::string sent = "Sent " + text(cmd.positional(0)) + " to " + session->place();
    if (!cmd.parser.isSet(verify)) {
        session->done(sent + ".");
        return kDone;
    }

    SceneTable readBack;
    status =
        GetInto(*session, readBack, "The show was sent but could not be checked.", "Reading back:");
    if (status != kDone) return status;
    status = Compare(scenes, "sent", readBack, out, "read back differ from what was sent.");
    if (status != kDone) return status;
    out.write("Verified: the controller holds every level sent.\n");
    session->done(sent + " and read it back.");
    return kDone;
}

int Verify(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("verify"),
        QStringLiteral(
            "Reads the controller's 64 scenes and compares them with the scene file FILE, "
            "writing nothing anywhere. Exit status 0 when the controller holds exactly FILE, "
            "5 when levels differ."),
        QStringLiteral("FILE"));
    const LinkOptions link;
    link.addTo(cmd.parser);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    const QString file = cmd.positional(0);
    SceneTable expected;
    if (!LoadTable(file, expected, &status)) return status;
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    SceneTable held;
    status = GetInto(*session, held, "Nothing was compared.");
    if (status != kDone) return status;
    status =
        Compare(expected, "file", held, out, "on the controller differ from " + text(file) + ".");
    if (status == kDone) out.write("The controller holds exactly " + text(file) + ".\n");
    return status;
}

int Scan(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("scan"),
        QStringLiteral(
            "Looks for controllers on the line: asks each node for its first block and lists "
            "each one that answers, as its number and the window's name for it, as soon as it "
            "has answered again on a quiet line."),
        QString());
    const LinkOptions link(LinkOptions::Reach::Search);
    link.addTo(cmd.parser);
    int status = kDone;
    if (!cmd.parse(arguments, 0, out, &status)) return status;
    std::unique_ptr<LinkSession> session = LinkSession::open(cmd.parser, link, &status);
    if (!session) return status;

    // Each controller is listed as soon as it is confirmed, for a technician or a pipe waiting on
    // it.
    const ScanOutcome outcome = session->connection().scanNodes(
        session->nodes(), session->limitMs(), session->scanEvents([&out](int node) {
            out.write(std::to_string(node) + " " + NodeName(node) + "\n");
            out.flush();
        }));
    status = session->finish(outcome);
    if (status != kDone) return status;
    if (outcome.found.empty())
        return complain(kNoAnswer,
                        "No controller answered on " + session->connection().label() + ".");
    return kDone;
}

int Backup(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("backup"),
        QStringLiteral(
            "Looks for controllers on the line, as scan does, and reads each one that answers "
            "into DIR/node-N.SCN (N its node number), each file written only when all 64 "
            "blocks arrived. DIR is created when its parent folder exists. A file that held "
            "other levels moves to DIR/history/node-N/. With several lines (--port given more "
            "than once, or several names in one), each line runs at once into DIR/LINE/."),
        QStringLiteral("DIR"));
    const LinkOptions link(LinkOptions::Reach::Search);
    link.addTo(cmd.parser);
    const QCommandLineOption keep(
        QStringLiteral("keep"),
        QStringLiteral("How many earlier versions of each controller's file to keep in "
                       "DIR/history (default 30)."),
        QStringLiteral("N"), QString::number(kDefaultKeep));
    cmd.parser.addOption(keep);
    cmd.allowRepeated(link.port.names().constFirst());
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    bool numeric = false;
    const int versions = cmd.parser.value(keep).toInt(&numeric, 10);
    if (!numeric || versions < 0)
        return complain(kUsage, "--keep takes a number of versions, 0 or more, not \"" +
                                    text(cmd.parser.value(keep)) + "\"");
    const QString dir = cmd.positional(0);
    if (dir.isEmpty()) return complain(kUsage, "backup: DIR is empty (see --help)");
    const std::vector<std::string> ports = PortNames(cmd.parser.values(link.port));
    if (ports.size() > 1) {
        // Nothing goes on any line before the folder is known to take new files.
        if (!PrepareBackupFolder(dir, {}, &status)) return status;
        return BackupLines(cmd.parser, link, ports, dir, versions, out);
    }
    std::unique_ptr<LinkSession> session =
        LinkSession::open(cmd.parser, link, ports.empty() ? std::string() : ports.front(), &status);
    if (!session) return status;
    // Nothing goes on the line before the folder is known to take every file.
    if (!PrepareBackupFolder(dir, session->nodes(), &status)) return status;
    return BackupLine(*session, dir, versions, [&out](const std::string& line) {
        out.write(line + "\n");
        out.flush();
    });
}

int BackupLine(LinkSession& session, const QString& dir, int keep,
               const std::function<void(const std::string&)>& say) {
    ControllerConnection& connection = session.connection();
    const ScanOutcome scan =
        connection.scanNodes(session.nodes(), session.limitMs(), session.scanEvents());
    int status = session.finish(scan);
    if (status != kDone) return status;
    std::vector<int> found = scan.found;
    std::sort(found.begin(), found.end());
    if (found.empty())
        return complain(kNoAnswer, "No controller answered on " + connection.label() + ".");

    int saved = 0;
    int worst = kDone;
    bool changed = false;
    for (int node : found) {
        const QString file = BackupFile(dir, node);
        int nodeStatus = kDone;
        SceneTable scenes;
        connection.setNode(node);
        if (CheckTarget(file, &nodeStatus) &&
            (nodeStatus = GetInto(session, scenes, text(file) + " was not written.",
                                  NodeName(node))) == kDone) {
            KeptBackup kept;
            QString error;
            if (KeepBackup(dir, node, scenes, keep, &kept, &error)) {
                ++saved;
                changed = changed || kept.kind == KeptBackup::Kind::Changed;
                say(DescribeKept(node, kept));
            } else {
                nodeStatus = complain(kFileError, text(error));
            }
        }
        if (nodeStatus == kInterrupted) return nodeStatus;
        // A port that failed for one controller is the worst news; any other failure is "one
        // failed".
        if (nodeStatus == kPortError || (nodeStatus != kDone && worst == kDone)) worst = nodeStatus;
    }
    say("Found " + std::to_string(found.size()) +
        (found.size() == 1 ? " controller" : " controllers") + " on " + connection.label() +
        "; saved " + std::to_string(saved) + (saved == 1 ? " file" : " files") + " in " +
        text(dir) + ".");
    if (worst == kDone) return changed ? kDiffer : kDone;
    return worst == kPortError ? kPortError : kNoAnswer;
}

}  // namespace corvane::cli
