// Scene files (.SCN): the table's storage as it lies, 4096 levels of 16-bit little-endian two's
// complement, dimmer by dimmer with the scene fastest, 8192 bytes, no header.
//
//   | offset          | content                                         |
//   | 2 * (64d + s)   | low byte of Scenes(s, d)                        |
//   | 2 * (64d + s)+1 | high byte (0 for levels 0 to 255)               |
#pragma once

#include <QByteArray>
#include <QString>

#include "document/scene_table.h"

class QIODevice;

namespace corvane {

inline constexpr qint64 kSceneFileSize = qint64{2} * kLevelCount;  // 8192

// Reads the first 8192 bytes of in into table. A shorter input leaves table untouched and
// returns false with a reason in *error. Levels are taken as they are, without a value check.
bool ReadSceneData(QIODevice& in, SceneTable& table, QString* error);

// Writes exactly the table's 8192 bytes to out.
bool WriteSceneData(QIODevice& out, const SceneTable& table, QString* error);

// Loads the file at path into table; on any failure (missing, unreadable, a folder, shorter
// than 8192 bytes) table is untouched and *error names the file and the reason.
bool LoadSceneFile(const QString& path, SceneTable& table, QString* error);

// Whether path can take a saved file, asked before work whose result would otherwise be lost.
// A folder, a device, a pipe or a socket is never replaced (a symbolic link to a regular file is
// followed); the folder must exist and take a new file, as a save needs. On false, *error holds
// "Could not save PATH: reason." as a failed save would say it.
bool CheckSaveTarget(const QString& path, QString* error);

// Saves bytes to path through QSaveFile: the old file stays whole until the new one is complete,
// and a failed save leaves it untouched. Refuses the targets CheckSaveTarget refuses. *error
// names the file and the reason. Scene files and the pictures of shows are saved this way.
bool SaveFileBytes(const QString& path, const QByteArray& bytes, QString* error);

// Saves table to path as a scene file, through SaveFileBytes.
bool SaveSceneFile(const QString& path, const SceneTable& table, QString* error);

}  // namespace corvane
