// The simulator's memory kept in scene files, the same 8192-byte files the tool reads and writes.
#pragma once

#include <QString>
#include <string>

#include "sim/scene_memory.h"

namespace corvane::sim {

// Loads a scene file as the controller's memory. Refuses, with memory untouched and a one-line
// reason in *error, a file that cannot be read, is not exactly 8192 bytes long, or holds a level
// outside 0 to 255.
bool LoadMemoryFile(const QString& path, SceneMemory& memory, std::string* error);

// Saves the memory as a scene file; the old file stays whole if the save fails.
bool SaveMemoryFile(const QString& path, const SceneMemory& memory, std::string* error);

}  // namespace corvane::sim
