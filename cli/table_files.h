// Scene files as the commands read and write them, with what goes wrong said on standard error.
#pragma once

#include <QString>

#include "document/scene_table.h"

namespace corvane::cli {

// Loads a scene file, saying on standard error what about it is not as a scene file should be:
// bytes past the 8192 that are read, and (with warnOutOfRange) levels a controller cannot hold.
// False, with the file error said and its exit status in *status, when it cannot be loaded.
bool LoadTable(const QString& path, SceneTable& table, int* status, bool warnOutOfRange = true);

// Whether path can take a scene file, asked before work whose result would be lost otherwise.
bool CheckTarget(const QString& path, int* status);

// Saves table to path atomically; false, with the file error said, when that fails.
bool SaveTable(const QString& path, const SceneTable& table, int* status);

}  // namespace corvane::cli
