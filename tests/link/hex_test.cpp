// Hex text as the serial line and the captions need it, including values outside the byte range.
#include "link/hex.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Hex2Case { int16_t value; const char* text; };
class Hex2Table : public testing::TestWithParam<Hex2Case> {};
TEST_P(Hex2Table, RendersLowEightBits) { EXPECT_EQ(Hex2(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Values, Hex2Table,
                         testing::Values(Hex2Case{0, "00"}, Hex2Case{10, "0A"}, Hex2Case{255, "FF"},
                                         Hex2Case{256, "00"}, Hex2Case{4095, "FF"}, Hex2Case{-1, "FF"},
                                         Hex2Case{-256, "00"}, Hex2Case{254, "FE"}, Hex2Case{1, "01"},
                                         Hex2Case{32767, "FF"}, Hex2Case{-32768, "00"}));

struct Hex4Case { int32_t value; const char* text; };
class Hex4Table : public testing::TestWithParam<Hex4Case> {};
TEST_P(Hex4Table, RendersLowSixteenBits) { EXPECT_EQ(Hex4(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Values, Hex4Table,
                         testing::Values(Hex4Case{0, "0000"}, Hex4Case{64, "0040"}, Hex4Case{4032, "0FC0"},
                                         Hex4Case{65535, "FFFF"}, Hex4Case{65536, "0000"}, Hex4Case{-1, "FFFF"},
                                         Hex4Case{INT32_MIN, "0000"}, Hex4Case{INT32_MAX, "FFFF"}));

struct HexValCase { const char* text; int32_t value; };
class HexValTable : public testing::TestWithParam<HexValCase> {};
TEST_P(HexValTable, ReadsLeadingDigitsOfFirstTwo) { EXPECT_EQ(HexVal(GetParam().text), GetParam().value); }
INSTANTIATE_TEST_SUITE_P(Values, HexValTable,
                         testing::Values(HexValCase{"3F", 63}, HexValCase{"ff", 255}, HexValCase{"0A12", 10},
                                         HexValCase{"7", 7}, HexValCase{"", 0}, HexValCase{"G1", 0},
                                         HexValCase{"1G", 1}, HexValCase{"--", 0}, HexValCase{"dD", 221},
                                         HexValCase{" 1", 0}, HexValCase{"\xff" "1", 0}));

TEST(HexVal, ReadsBackEveryRenderedByte) {
    for (int v = -300; v <= 600; ++v)
        ASSERT_EQ(HexVal(Hex2(static_cast<int16_t>(v))), v & 0xFF) << "value " << v;
}

TEST(HexVal, LooksAtNoMoreThanTwoCharacters) {
    const std::string_view text("A5B", 2);
    EXPECT_EQ(HexVal(text), 0xA5);
}

TEST(StrictHex, EveryCharacterADigitOrNothing) {
    EXPECT_EQ(StrictHex("3F"), 63);
    EXPECT_EQ(StrictHex("0fc0"), 4032);
    EXPECT_EQ(StrictHex("1G"), std::nullopt);
    EXPECT_EQ(StrictHex(" 1"), std::nullopt);
    EXPECT_EQ(StrictHex(""), std::nullopt);
}

}  // namespace
}  // namespace corvane
