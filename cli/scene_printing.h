// Scenes printed as the editor lays them out: four columns of sixteen dimmers.
#pragma once

#include <string>

#include "document/scene_table.h"

namespace corvane::cli {

enum class LevelFormat { Percent, Raw };

// "Scene: 01" and sixteen rows such as "Dimmer 01.1  100%   Dimmer 05.1    0%   ...".
std::string PrintScene(const SceneTable& table, int scene, LevelFormat format);

// Every (scene, dimmer) whose level differs, one line each, "Scene: 01  Dimmer 01.1  255  0",
// under the heading line and above their count; empty when none differs.
std::string PrintDifferences(const SceneTable& a, const SceneTable& b, const std::string& heading,
                             int* count);

// "1 level differs." / "12 levels differ."
std::string CountOfLevelsDiffering(int count);

}  // namespace corvane::cli
