// Hex text as the serial line and the captions need it, including values outside the byte range.
#include "link/hex.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Hex, RendersTheLowBitsAndReadsTheLeadingDigitsOfTheFirstTwo) {
    const std::pair<int16_t, const char*> hex2[] = {
        {0, "00"},    {10, "0A"},  {255, "FF"}, {256, "00"},   {4095, "FF"},   {-1, "FF"},
        {-256, "00"}, {254, "FE"}, {1, "01"},   {32767, "FF"}, {-32768, "00"},
    };
    for (const auto& [value, text] : hex2) EXPECT_EQ(Hex2(value), text) << value;
    const std::pair<int32_t, const char*> hex4[] = {
        {0, "0000"},     {64, "0040"}, {4032, "0FC0"},      {65535, "FFFF"},
        {65536, "0000"}, {-1, "FFFF"}, {INT32_MIN, "0000"}, {INT32_MAX, "FFFF"},
    };
    for (const auto& [value, text] : hex4) EXPECT_EQ(Hex4(value), text) << value;
    const std::pair<const char*, int32_t> hexVal[] = {
        {"3F", 63}, {"ff", 255}, {"0A12", 10}, {"7", 7},  {"", 0},      {"G1", 0},
        {"1G", 1},  {"--", 0},   {"dD", 221},  {" 1", 0}, {"\3771", 0},  // 0xFF, then "1"
    };
    for (const auto& [text, value] : hexVal) EXPECT_EQ(HexVal(text), value) << '"' << text << '"';
    EXPECT_EQ(HexVal(std::string_view("A5B", 2)), 0xA5);  // no more than two characters
}

TEST(HexVal, ReadsBackEveryRenderedByte) {
    for (int v = -300; v <= 600; ++v)
        ASSERT_EQ(HexVal(Hex2(static_cast<int16_t>(v))), v & 0xFF) << "value " << v;
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
