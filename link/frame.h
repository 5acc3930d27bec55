// Request and reply frames and their 8-bit checksum.
//
// Request frame, one byte per character, nothing before "[" or after "]":
//   | 1   | "["                                           |
//   | 2-3 | check digits: Hex2(FrameChecksum(body))       |
//   | 4-5 | node number: Hex2(node), "01" to "FE"         |
//   | 6.. | command text as given                          |
//   | n   | "]"                                           |
// The body is positions 4 to n. A reply is accepted when it begins "{--}", or when HexVal of its
// characters 2-3 equals the checksum of its characters from position 4 to the end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr int kCodeArraySize = 401;
inline constexpr int16_t kChecksumSeed = 0xA5;
inline constexpr std::string_view kAcknowledgement = "{--}";

using CodeArray = std::array<int16_t, kCodeArraySize>;

// Fills codes[i] with the code (0 to 255) of text[i]; returns the number of characters, at most
// kCodeArraySize (characters beyond the array's capacity are not converted). Elements past the
// count keep what they held.
int32_t DxStrToArray(std::string_view text, CodeArray& codes);

// Rotate right through 8 bits, then add the code, for codes[first] to codes[count - 1];
// 165 for an empty range.
int16_t FrameChecksum(const CodeArray& codes, int32_t first, int32_t count);

// "[" + check digits + Hex2(node) + command + "]".
std::string BuildRequestFrame(int16_t node, std::string_view command);

// The reply test, used on every reply read.
bool ReplyAccepted(std::string_view reply);

}  // namespace corvane
