// The level and percent scale: its published values, its edges, and its round trips.
#include "scale/level_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <set>

namespace corvane {
namespace {

enum class Way { LevelToPercent, PercentToLevel };

struct ScaleCase {
    Way way;
    int16_t in;
    std::optional<int16_t> out;  // empty: the input has no conversion
};

std::ostream& operator<<(std::ostream& os, const ScaleCase& c) {
    os << (c.way == Way::LevelToPercent ? "LvlToPcnt(" : "PcntToLvl(") << c.in << ") -> ";
    if (c.out) return os << *c.out;
    return os << "none";
}

class ScaleTable : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleTable, ConvertsByTheFloorRule) {
    const ScaleCase& c = GetParam();
    const std::optional<int16_t> got =
        c.way == Way::LevelToPercent ? LvlToPcnt(c.in) : PcntToLvl(c.in);
    EXPECT_EQ(got, c.out);
}

constexpr Way L = Way::LevelToPercent;
constexpr Way P = Way::PercentToLevel;
constexpr std::nullopt_t none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Values, ScaleTable,
    testing::Values(
        // Levels to percents as the technician sees them.
        ScaleCase{L, 0, 0}, ScaleCase{L, 1, 0}, ScaleCase{L, 2, 1}, ScaleCase{L, 3, 1},
        ScaleCase{L, 64, 25}, ScaleCase{L, 127, 50}, ScaleCase{L, 128, 50}, ScaleCase{L, 129, 51},
        ScaleCase{L, 191, 75}, ScaleCase{L, 252, 99}, ScaleCase{L, 253, 99}, ScaleCase{L, 254, 100},
        ScaleCase{L, 255, 100},
        // Percents to levels: rounded down, so 50% is 127, not 128.
        ScaleCase{P, 0, 0}, ScaleCase{P, 1, 2}, ScaleCase{P, 2, 5}, ScaleCase{P, 25, 63},
        ScaleCase{P, 49, 124}, ScaleCase{P, 50, 127}, ScaleCase{P, 51, 130}, ScaleCase{P, 75, 191},
        ScaleCase{P, 99, 252}, ScaleCase{P, 100, 255},
        // Negative inputs take the floor, not truncation toward zero.
        ScaleCase{L, -1, 0}, ScaleCase{L, -2, -1}, ScaleCase{P, -1, -3},
        // The last inputs whose 16-bit intermediates fit, and the first that do not.
        ScaleCase{L, 326, 128}, ScaleCase{L, 327, none}, ScaleCase{L, -327, -128},
        ScaleCase{L, -328, none}, ScaleCase{L, 32767, none}, ScaleCase{L, -32768, none},
        ScaleCase{P, 128, 326}, ScaleCase{P, 129, none}, ScaleCase{P, -128, -327},
        ScaleCase{P, -129, none}, ScaleCase{P, 32767, none}, ScaleCase{P, -32768, none}));

// The conversion as first built: a single-precision quotient, then its floor.
int16_t floatLvlToPcnt(int16_t level) {
    return static_cast<int16_t>(std::floor(static_cast<float>(level * 100 + 128) / 255.0f));
}
int16_t floatPcntToLvl(int16_t percent) {
    return static_cast<int16_t>(std::floor(static_cast<float>(percent * 255) / 100.0f));
}

TEST(LevelScale, MatchesTheFloatingPointFloorOverTheWholeAcceptedRange) {
    for (int v = kLowestConvertibleLevel; v <= kHighestConvertibleLevel; ++v) {
        const auto level = static_cast<int16_t>(v);
        ASSERT_EQ(LvlToPcnt(level), floatLvlToPcnt(level)) << "level " << v;
    }
    for (int v = kLowestConvertiblePercent; v <= kHighestConvertiblePercent; ++v) {
        const auto percent = static_cast<int16_t>(v);
        ASSERT_EQ(PcntToLvl(percent), floatPcntToLvl(percent)) << "percent " << v;
    }
}

TEST(LevelScale, RefusesEveryInputOutsideTheAcceptedRange) {
    int refusedLevels = 0;
    int refusedPercents = 0;
    for (int v = -32768; v <= 32767; ++v) {
        const auto x = static_cast<int16_t>(v);
        const bool levelAccepted = v >= kLowestConvertibleLevel && v <= kHighestConvertibleLevel;
        const bool percentAccepted =
            v >= kLowestConvertiblePercent && v <= kHighestConvertiblePercent;
        ASSERT_EQ(LvlToPcnt(x).has_value(), levelAccepted) << "level " << v;
        ASSERT_EQ(PcntToLvl(x).has_value(), percentAccepted) << "percent " << v;
        refusedLevels += levelAccepted ? 0 : 1;
        refusedPercents += percentAccepted ? 0 : 1;
    }
    EXPECT_EQ(refusedLevels, 65536 - 654);
    EXPECT_EQ(refusedPercents, 65536 - 257);
}

TEST(LevelScale, EveryPercentComesBackThroughItsLevel) {
    for (int16_t p = 0; p <= 100; ++p) {
        const std::optional<int16_t> level = PcntToLvl(p);
        ASSERT_TRUE(level.has_value());
        EXPECT_GE(*level, 0);
        EXPECT_LE(*level, 255);
        EXPECT_EQ(LvlToPcnt(*level), p) << "percent " << p;
    }
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
    EXPECT_EQ(PcntToLvl(*LvlToPcnt(1)), 0);
    EXPECT_EQ(PcntToLvl(*LvlToPcnt(128)), 127);
    EXPECT_EQ(PcntToLvl(*LvlToPcnt(254)), 255);
    ASSERT_EQ(levelsPerPercent.size(), 101u);
    for (const auto& [percent, count] : levelsPerPercent) {
        EXPECT_GE(count, 2) << percent << "%";
        EXPECT_LE(count, 3) << percent << "%";
    }
}

struct TextCase {
    int16_t level;
    const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << "level " << c.level << " " << c.text;
}
class LevelTextTable : public testing::TestWithParam<TextCase> {};
TEST_P(LevelTextTable, ShowsPercentOrAPlainMarker) {
    EXPECT_EQ(LevelText(GetParam().level), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Values, LevelTextTable,
                         testing::Values(TextCase{0, "0%"}, TextCase{1, "0%"}, TextCase{18, "7%"},
                                         TextCase{128, "50%"}, TextCase{254, "100%"},
                                         TextCase{255, "100%"},
                                         // Not a level: neither "100%" nor "0%", which it would
                                         // otherwise pass for.
                                         TextCase{256, "?%"}, TextCase{300, "?%"},
                                         TextCase{-1, "?%"}, TextCase{32767, "?%"},
                                         TextCase{-32768, "?%"}));

}  // namespace
}  // namespace corvane
