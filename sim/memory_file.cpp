// The simulator's memory kept in scene files.
#include "sim/memory_file.h"

#include <QFileInfo>

#include "document/scene_file.h"

namespace corvane::sim {

bool LoadMemoryFile(const QString& path, SceneMemory& memory, std::string* error) {
    const auto fail = [&](const QString& text) {
        if (error != nullptr) *error = text.toStdString();
        return false;
    };
    const QFileInfo info(path);
    // Anything longer is some other file, not a show a controller could have held.
    if (info.isFile() && info.size() > kSceneFileSize)
        return fail(QStringLiteral("%1 is not a scene file: it is %2 bytes long, a scene file %3.")
                        .arg(path)
                        .arg(info.size())
                        .arg(kSceneFileSize));
    SceneTable table;
    QString reason;
    if (!LoadSceneFile(path, table, &reason)) return fail(reason);
    std::string levelProblem;
    if (!FromSceneTable(table, memory, &levelProblem))
        return fail(QStringLiteral("%1 cannot be loaded: %2.")
                        .arg(path, QString::fromStdString(levelProblem)));
    return true;
}

bool SaveMemoryFile(const QString& path, const SceneMemory& memory, std::string* error) {
    QString reason;
    if (SaveSceneFile(path, ToSceneTable(memory), &reason)) return true;
    if (error != nullptr) *error = reason.toStdString();
    return false;
}

}  // namespace corvane::sim
