// Fixed-width hexadecimal text for the serial line and the window captions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Low 8 bits of v as two upper-case digits: Hex2(10) == "0A", Hex2(-1) == "FF".
std::string Hex2(int16_t v);

// Low 16 bits of v as four upper-case digits: Hex4(4032) == "0FC0", Hex4(-1) == "FFFF".
std::string Hex4(int32_t v);

// Value (0 to 255) of the leading hexadecimal digits among the first two characters of text,
// either case; 0 when there are none. Never fails: HexVal("1G") == 1, HexVal("--") == 0.
int32_t HexVal(std::string_view text);

// Value of text read strictly as hexadecimal digits, either case: nullopt when text is empty or
// any character is not a digit (the simulated controller's reading of a request's fields).
std::optional<int> StrictHex(std::string_view text);

// a and b hold the same ASCII text, letters in either case ("com1" and "COM1", "3f" and "3F").
bool SameTextAnyCase(std::string_view a, std::string_view b);

}  // namespace corvane
