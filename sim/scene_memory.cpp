// The controller's scene memory and its conversions to and from the scene table.
#include "sim/scene_memory.h"

namespace corvane::sim {

SceneTable ToSceneTable(const SceneMemory& memory) {
    SceneTable table;
    for (int s = 0; s < kBlockCount; ++s)
        for (int d = 0; d < kBlockSize; ++d) table(s, d) = memory[s][d];
    return table;
}

bool FromSceneTable(const SceneTable& table, SceneMemory& memory, std::string* error) {
    SceneMemory converted{};
    for (int s = 0; s < kBlockCount; ++s) {
        for (int d = 0; d < kBlockSize; ++d) {
            const int16_t level = table(s, d);
            if (level < 0 || level > 255) {
                if (error != nullptr)
                    *error = "scene " + std::to_string(s + 1) + ", dimmer " +
                             std::to_string(d + 1) + " has level " + std::to_string(level) +
                             "; a controller holds only levels 0 to 255";
                return false;
            }
            converted[s][d] = static_cast<uint8_t>(level);
        }
    }
    memory = converted;
    return true;
}

}  // namespace corvane::sim
