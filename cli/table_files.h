// Scene files as the commands read and write them, with what goes wrong said on standard error.
#pragma once

#include <QString>
#include <QStringList>

#include "document/scene_table.h"

namespace corvane::cli {

// Loads a scene file, saying on standard error what about it is not as a scene file should be:
// bytes past the 8192 that are read, and (with warnOutOfRange) levels a controller cannot hold.
// False, with the file error said and its exit status in *status, when it cannot be loaded.
bool LoadTable(const QString& path, SceneTable& table, int* status, bool warnOutOfRange = true);

// Whether path can take a scene file, asked before work whose result would be lost otherwise.
bool CheckTarget(const QString& path, int* status);

// Usage errors in the name of the file a command writes, said before anything is read or sent:
// a target that is one of the files the command reads (by device and inode, or by path once
// links are resolved), and, for a scene file, a name ending in .csv or .png, which a CSV or a
// picture carries. False, with the error said and *status kUsage, when the name is refused.
bool CheckWriteName(const QString& command, const QString& target, const QStringList& sources,
                    bool sceneFile, int* status);

// Refuses, as a usage error, standard output that goes to one of the files a command reads
// ("export a.SCN >> a.SCN"), which it would print over.
bool CheckStandardOutput(const QString& command, const QStringList& sources, int* status);

// Saves table to path atomically; false, with the file error said, when that fails.
bool SaveTable(const QString& path, const SceneTable& table, int* status);

}  // namespace corvane::cli
