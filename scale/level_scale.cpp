// Levels as percentages and back, in exact integer arithmetic with floor division.
#include "scale/level_scale.h"

#include <limits>

namespace corvane {
namespace {

// Greatest integer not above n / d, for d > 0 (C++ division truncates toward zero).
constexpr int32_t floorDiv(int32_t n, int32_t d) {
    const int32_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

constexpr bool fits16(int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

}  // namespace

std::optional<int16_t> LvlToPcnt(int16_t iLvl) {
    const int32_t product = int32_t{iLvl} * 100;
    const int32_t sum = product + 128;
    if (!fits16(product) || !fits16(sum)) return std::nullopt;
    return static_cast<int16_t>(floorDiv(sum, 255));
}

std::optional<int16_t> PcntToLvl(int16_t iPcnt) {
    const int32_t product = int32_t{iPcnt} * 255;
    if (!fits16(product)) return std::nullopt;
    return static_cast<int16_t>(floorDiv(product, 100));
}

std::string LevelText(int16_t iLvl) {
    if (iLvl < 0 || iLvl > 255) return kUnknownLevelText;
    return std::to_string(*LvlToPcnt(iLvl)) + "%";
}

}  // namespace corvane
