// How scenes and dimmers are named to the technician: "Scene: 01" to "Scene: 64", and dimmers as
// 16 groups of four outputs, "Dimmer 01.1" to "Dimmer 10.4" (group number in hexadecimal).
#pragma once

#include <string>

#include "link/hex.h"

namespace corvane {

inline std::string SceneNumberText(int scene) {
    const int n = scene + 1;
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

inline std::string DimmerName(int dimmer) {
    return "Dimmer " + Hex2(static_cast<int16_t>(dimmer / 4 + 1)) + "." +
           std::to_string(dimmer % 4 + 1);
}

}  // namespace corvane
