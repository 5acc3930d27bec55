// Request and reply frames, their 8-bit checksum, and the code array the checksum runs over.
//
// Request frame, one byte per character, nothing before "[" or after "]":
//   | 1   | "["                                           |
//   | 2-3 | check digits: Hex2(FrameChecksum(body))       |
//   | 4-5 | node number: Hex2(node), "01" to "FE"         |
//   | 6.. | command text as given                         |
//   | n   | "]"                                           |
// The body is positions 4 to n, closing bracket included.
//
// Reply frame as read: position 1 is never examined, 2-3 are the controller's check digits (either
// case), 4 to the end is the body, every character read. A reply is accepted when it begins
// "{--}", or when HexVal of its characters 2-3 equals the checksum of its characters from
// position 4 to the end. A request frame passes the same test.
//
// A reply longer than the code array (401 characters) cannot have all its characters summed, so it
// is refused unless it begins "{--}"; nothing outside the array is ever read or written.
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

// Fills codes[i] with the code (0 to 255) of text[i]; returns the number of characters converted,
// at most kCodeArraySize (characters beyond the array's capacity are not converted). Elements
// past the count keep what they held.
int32_t DxStrToArray(std::string_view text, CodeArray& codes);

// Rotate right through 8 bits, then add the code, for codes[first] to codes[count - 1]; 165 for
// an empty range. The range is cut to the array, so no call reads outside it.
int16_t FrameChecksum(const CodeArray& codes, int32_t first, int32_t count);

// "[" + check digits + Hex2(node) + command + "]". The body must fit the code array: a longer one
// throws std::length_error rather than going out with check digits that do not cover it.
std::string BuildRequestFrame(int16_t node, std::string_view command);

// The reply test, used on every reply read; codes is the transaction's array, refilled here.
bool ReplyAccepted(std::string_view reply, CodeArray& codes);
bool ReplyAccepted(std::string_view reply);

}  // namespace corvane
