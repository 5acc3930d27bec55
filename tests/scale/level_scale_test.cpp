// The level and percent scale: its published values, its edges, and its round trips.
#include "scale/level_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace corvane {
namespace {

// The published values, the floor for negative inputs, and the last inputs whose 16-bit
// intermediates fit and the first that do not (no value: no conversion).
TEST(LevelScale, ConvertsByTheFloorRule) {
    const std::pair<int16_t, std::optional<int16_t>> levelToPercent[] = {
        {0, 0},    {1, 0},     {2, 1},    {3, 1},       {64, 25},   {127, 50},   {128, 50},
        {129, 51}, {191, 75},  {252, 99}, {253, 99},    {254, 100}, {255, 100},  {-1, 0},
        {-2, -1},  {326, 128}, {327, {}}, {-327, -128}, {-328, {}}, {32767, {}}, {-32768, {}},
    };
    for (const auto& [level, percent] : levelToPercent)
        EXPECT_EQ(LvlToPcnt(level), percent) << "level " << level;
    // Rounded down, so 50% is 127, not 128.
    const std::pair<int16_t, std::optional<int16_t>> percentToLevel[] = {
        {0, 0},    {1, 2},       {2, 5},     {25, 63},    {49, 124},    {50, 127},
        {51, 130}, {75, 191},    {99, 252},  {100, 255},  {-1, -3},     {128, 326},
        {129, {}}, {-128, -327}, {-129, {}}, {32767, {}}, {-32768, {}},
    };
    for (const auto& [percent, level] : percentToLevel)
        EXPECT_EQ(PcntToLvl(percent), level) << "percent " << percent;
}

// The conversion as first built: a single-precision quotient, then its floor.
int16_t floatLvlToPcnt(int16_t level) {
    return static_cast<int16_t>(std::floor(static_cast<float>(level * 100 + 128) / 255.0f));
}
int16_t floatPcntToLvl(int16_t percent) {
    return static_cast<int16_t>(std::floor(static_cast<float>(percent * 255) / 100.0f));
}

// Every 16-bit input: inside the accepted range the floating-point floor, outside none.
TEST(LevelScale, MatchesTheFloatingPointFloorInsideTheAcceptedRangeAndRefusesTheRest) {
    int refusedLevels = 0;
    int refusedPercents = 0;
    for (int v = -32768; v <= 32767; ++v) {
        const auto x = static_cast<int16_t>(v);
        const bool level = v >= kLowestConvertibleLevel && v <= kHighestConvertibleLevel;
        const bool percent = v >= kLowestConvertiblePercent && v <= kHighestConvertiblePercent;
        ASSERT_EQ(LvlToPcnt(x), level ? std::optional(floatLvlToPcnt(x)) : std::nullopt) << v;
        ASSERT_EQ(PcntToLvl(x), percent ? std::optional(floatPcntToLvl(x)) : std::nullopt) << v;
        refusedLevels += level ? 0 : 1;
        refusedPercents += percent ? 0 : 1;
    }
    EXPECT_EQ(refusedLevels, 65536 - 654);
    EXPECT_EQ(refusedPercents, 65536 - 257);
}

TEST(LevelScale, ExactlyTheEditorsOwnLevelsSurviveTheRoundTrip) {
    std::set<int16_t> produced;
    for (int16_t p = 0; p <= 100; ++p) produced.insert(*PcntToLvl(p));
    std::set<int16_t> fixed;
    std::map<int16_t, int> levelsPerPercent;
    for (int16_t level = 0; level <= 255; ++level) {
        const int16_t percent = *LvlToPcnt(level);
        ASSERT_GE(percent, 0);
        ASSERT_LE(percent, 100);
        ++levelsPerPercent[percent];
        if (PcntToLvl(percent) == level) fixed.insert(level);
    }
    EXPECT_EQ(fixed.size(), 101u);
    EXPECT_EQ(fixed, produced);
    ASSERT_EQ(levelsPerPercent.size(), 101u);
    for (const auto& [percent, count] : levelsPerPercent) {
        EXPECT_GE(count, 2) << percent << "%";
        EXPECT_LE(count, 3) << percent << "%";
    }
}

}  // namespace
}  // namespace corvane
