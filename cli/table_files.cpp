// Scene files as the commands read and write them.
#include "cli/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/file_identity.h"
#include "document/scene_file.h"
#include "transfer/scene_transfer.h"

namespace corvane::cli {
namespace {

// The path with its links resolved as far as they exist: a file not yet made is named through
// its folder's real path.
QString resolvedPath(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : QDir(folder).filePath(info.fileName());
}

bool sameFile(const QString& a, const QString& b) {
    if (const std::optional<bool> same = SameExistingFile(a, b)) return *same;
    return resolvedPath(a) == resolvedPath(b);
}

}  // namespace

bool LoadTable(const QString& path, SceneTable& table, int* status, bool warnOutOfRange) {
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
    const size_t outside = LevelsOutOfRange(table).size();
    if (warnOutOfRange && outside > 0)
        complain(kDone, text(path) + " holds " + std::to_string(outside) +
                            (outside == 1 ? " level" : " levels") +
                            " outside 0 to 255, which no controller holds; is it a scene file?");
    return true;
}

bool CheckTarget(const QString& path, int* status) {
    QString error;
    if (CheckSaveTarget(path, &error)) return true;
    *status = complain(kFileError, text(error));
    return false;
}

bool CheckWriteName(const QString& command, const QString& target, const QStringList& sources,
                    bool sceneFile, int* status) {
    const std::string quoted = "\"" + text(target) + "\"";
    for (const QString& source : sources) {
        if (!sameFile(target, source)) continue;
        const std::string both =
            source == target ? quoted + " is both the file read and the file written"
                             : "\"" + text(source) + "\" and " + quoted + " are the same file";
        *status = complain(kUsage, text(command) + ": " + both +
                                       "; writing it would replace what is read (see --help)");
        return false;
    }
    if (!sceneFile) return true;
    for (const char* other : {".csv", ".png"}) {
        if (!target.endsWith(QLatin1String(other), Qt::CaseInsensitive)) continue;
        *status = complain(kUsage, text(command) + ": " + quoted + " ends in " + other +
                                       "; a scene file would replace it. Give the scene file a "
                                       "name ending in .SCN (see --help)");
        return false;
    }
    return true;
}

bool CheckStandardOutput(const QString& command, const QStringList& sources, int* status) {
    for (const QString& source : sources) {
        const OutputFile out = StandardOutputAgainst(source);
        if (!out.isPath) continue;
        // With ">" the shell has emptied the file already: say so, not what would happen.
        *status = complain(
            kUsage, text(command) + ": standard output is \"" + text(source) + "\", a file read; " +
                        (out.size == 0 ? "the shell emptied it before " + text(command) + " ran"
                                       : "what it prints would go into it") +
                        " (see --help)");
        return false;
    }
    return true;
}

bool SaveTable(const QString& path, const SceneTable& table, int* status) {
    QString error;
    if (SaveSceneFile(path, table, &error)) return true;
    *status = complain(kFileError, text(error));
    return false;
}

}  // namespace corvane::cli
