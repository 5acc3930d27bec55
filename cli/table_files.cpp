// Scene files as the commands read and write them.
#include "cli/table_files.h"

#include <QFileInfo>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "document/scene_file.h"
#include "transfer/scene_transfer.h"

namespace corvane::cli {

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

bool SaveTable(const QString& path, const SceneTable& table, int* status) {
    QString error;
    if (SaveSceneFile(path, table, &error)) return true;
    *status = complain(kFileError, text(error));
    return false;
}

}  // namespace corvane::cli
