// Scenes printed as the editor lays them out.
#include "cli/scene_printing.h"

#include <cstdio>

#include "document/scene_names.h"
#include "scale/level_scale.h"

namespace corvane::cli {
namespace {

std::string padLeft(const std::string& s, size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace

std::string PrintScene(const SceneTable& table, int scene, LevelFormat format) {
    std::string out = "Scene: " + SceneNumberText(scene) + "\n";
    for (int row = 0; row < 16; ++row) {
        std::string line;
        for (int column = 0; column < 4; ++column) {
            const int d = 16 * column + row;
            const int16_t level = table(scene, d);
            const std::string value =
                format == LevelFormat::Raw ? std::to_string(level) : LevelText(level);
            if (column > 0) line += "   ";
            line += DimmerName(d) + " " + padLeft(value, 6);
        }
        out += line + "\n";
    }
    return out;
}

std::string PrintDifferences(const SceneTable& a, const SceneTable& b, const std::string& heading,
                             int* count) {
    std::string out;
    int n = 0;
    for (int s = 0; s < kSceneCount; ++s) {
        for (int d = 0; d < kDimmerCount; ++d) {
            if (a(s, d) == b(s, d)) continue;
            ++n;
            out += "Scene: " + SceneNumberText(s) + "  " + DimmerName(d) + "  " +
                   padLeft(std::to_string(a(s, d)), 6) + "  " +
                   padLeft(std::to_string(b(s, d)), 6) + "\n";
        }
    }
    if (count != nullptr) *count = n;
    return n == 0 ? std::string() : heading + "\n" + out + CountOfLevelsDiffering(n) + "\n";
}

std::string CountOfLevelsDiffering(int count) {
    return std::to_string(count) + (count == 1 ? " level differs." : " levels differ.");
}

}  // namespace corvane::cli
