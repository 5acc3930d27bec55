// The controller's scene memory: 64 blocks of 64 bytes, block s holding the levels of scene s.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/scene_table.h"

namespace corvane::sim {

inline constexpr int kBlockCount = 64;
inline constexpr int kBlockSize = 64;

using Block = std::array<uint8_t, kBlockSize>;
using SceneMemory = std::array<Block, kBlockCount>;

// Byte d of block s becomes Scenes(s, d).
SceneTable ToSceneTable(const SceneMemory& memory);

// The memory a table stands for. A controller stores bytes, so a level outside 0 to 255 cannot be
// held: then memory is left as it was, false is returned and *error names the first such level
// (scene and dimmer counted from 1, as the editor shows them).
bool FromSceneTable(const SceneTable& table, SceneMemory& memory, std::string* error);

}  // namespace corvane::sim
