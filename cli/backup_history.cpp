// A backup folder's history.
#include "cli/backup_history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "cli/file_identity.h"
#include "document/scene_file.h"
#include "link/node_numbers.h"

namespace corvane::cli {
namespace {

// The history's file names: a stamp, and "-2", "-3" ... when one second saw several versions.
const QRegularExpression kVersionName(
    QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?\\.SCN$"));

// The tests end the process between two steps to show that no step leaves a node without its
// file: CORVANE_BACKUP_TEST_STOP names the step after which the process is killed.
void StepDone(const char* step) {
    const char* stop = std::getenv("CORVANE_BACKUP_TEST_STOP");
    if (stop == nullptr || std::string(stop) != step) return;
#ifdef SIGKILL
    std::raise(SIGKILL);
#else
    std::_Exit(137);  // Windows has no SIGKILL; this ends the process as abruptly
#endif
}

int CountDifferences(const SceneTable& a, const SceneTable& b) {
    int n = 0;
    for (size_t i = 0; i < a.storage().size(); ++i) n += a.storage()[i] != b.storage()[i] ? 1 : 0;
    return n;
}

// Puts file into folder under its stamp as a second name of the same file, so that file itself
// stays where it is until the new version replaces it. A name the file already has there (a run
// that ended before the replacement) is used again; another version's is never taken.
bool LinkIntoHistory(const QString& file, const QString& folder, const QString& stamp,
                     QString* error) {
    for (int n = 1;; ++n) {
        const QString name =
            stamp + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".SCN");
        const QString target = QDir(folder).filePath(name);
        if (QFileInfo::exists(target)) {
            if (SameExistingFile(file, target).value_or(false)) return true;
            continue;
        }
        std::error_code linkError;
        std::filesystem::create_hard_link(QFileInfo(file).filesystemFilePath(),
                                          QFileInfo(target).filesystemFilePath(), linkError);
        if (!linkError) return true;
        // A file system without hard links: a copy keeps the old version just as well.
        if (QFile::copy(file, target)) {
            QFile copy(target);
            if (copy.open(QIODevice::ReadWrite) &&
                copy.setFileTime(QFileInfo(file).lastModified(), QFileDevice::FileModificationTime))
                return true;
        }
        *error = QStringLiteral("Could not keep %1 as %2.").arg(file, target);
        return false;
    }
}

// Removes the oldest versions in folder beyond the newest keep.
void Prune(const QString& folder, int keep) {
    std::vector<std::pair<std::pair<QString, int>, QString>> versions;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = kVersionName.match(name);
        if (!m.hasMatch()) continue;
        const int n = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        versions.push_back({{m.captured(1), n}, name});
    }
    std::sort(versions.begin(), versions.end());
    const auto extra = static_cast<qsizetype>(versions.size()) - keep;
    for (qsizetype i = 0; i < extra; ++i) QFile::remove(QDir(folder).filePath(versions[i].second));
}

}  // namespace

QString HistoryStamp(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
}

bool KeepBackup(const QString& dir, int node, const SceneTable& scenes, int keep,
                KeptBackup* result, QString* error) {
    const QString name = QStringLiteral("node-%1.SCN").arg(node);
    const QString file = QDir(dir).filePath(name);
    const QString fresh = QDir(dir).filePath(QStringLiteral(".") + name + QStringLiteral(".new"));
    *result = KeptBackup{};
    // What a run cut short after writing it left behind.
    QFile::remove(fresh);
    if (!QFileInfo::exists(file)) return SaveSceneFile(file, scenes, error);

    SceneTable previous;
    QString unread;
    const bool readable = LoadSceneFile(file, previous, &unread);
    if (readable && previous == scenes) {
        result->kind = KeptBackup::Kind::Unchanged;
        return true;
    }
    result->kind = KeptBackup::Kind::Changed;
    result->differences = readable ? CountDifferences(previous, scenes) : -1;
    result->previous = QFileInfo(file).lastModified();

    if (!SaveSceneFile(fresh, scenes, error)) return false;
    StepDone("written");
    const QString folder = QDir(dir).filePath(QStringLiteral("history/node-%1").arg(node));
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Could not make the folder %1.").arg(folder);
        QFile::remove(fresh);
        return false;
    }
    if (!LinkIntoHistory(file, folder, HistoryStamp(result->previous), error)) {
        QFile::remove(fresh);
        return false;
    }
    StepDone("kept");
    // In one step, replacing the file on Windows too (where a plain rename refuses to).
    std::error_code renameError;
    std::filesystem::rename(QFileInfo(fresh).filesystemFilePath(),
                            QFileInfo(file).filesystemFilePath(), renameError);
    if (renameError) {
        *error = QStringLiteral("Could not replace %1 with the new backup.").arg(file);
        QFile::remove(fresh);
        return false;
    }
    StepDone("replaced");
    Prune(folder, keep);
    return true;
}

std::string DescribeKept(int node, const KeptBackup& kept) {
    const std::string name = NodeName(node);
    switch (kept.kind) {
        case KeptBackup::Kind::New:
            return name + " new";
        case KeptBackup::Kind::Unchanged:
            return name + " unchanged";
        case KeptBackup::Kind::Changed:
            break;
    }
    const std::string when =
        kept.previous.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    if (kept.differences < 0)
        return name + " changed: the backup of " + when + " could not be read";
    return name + " changed: " + std::to_string(kept.differences) +
           (kept.differences == 1 ? " level differs" : " levels differ") + " from the backup of " +
           when;
}

}  // namespace corvane::cli
