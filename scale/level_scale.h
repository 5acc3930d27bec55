// Levels (0 off to 255 full) as the percentages the technician sees, and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// The inputs whose 16-bit intermediate values (100 x level + 128, and 255 x percent) still fit.
inline constexpr int16_t kLowestConvertibleLevel = -327;
inline constexpr int16_t kHighestConvertibleLevel = 326;
inline constexpr int16_t kLowestConvertiblePercent = -128;
inline constexpr int16_t kHighestConvertiblePercent = 128;

// floor((100 x iLvl + 128) / 255): the nearest percent, 0 to 100 for levels 0 to 255.
// Levels outside -327..326 have no percent: the result is empty, never a wrapped value.
std::optional<int16_t> LvlToPcnt(int16_t iLvl);

// floor(255 x iPcnt / 100), rounded down: 50% is 127, 1% is 2, 100% is 255.
// Percents outside -128..128 have no level: the result is empty.
std::optional<int16_t> PcntToLvl(int16_t iPcnt);

// The text a level label shows: "0%" to "100%" for levels 0 to 255. A stored level outside
// 0..255 (a damaged or foreign scene file) shows as "?%", so it cannot pass for a real level.
std::string LevelText(int16_t iLvl);

inline constexpr char kUnknownLevelText[] = "?%";

}  // namespace corvane
