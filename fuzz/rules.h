// Straightforward restatements of the wire rules, written apart from the tool's code so that a
// fuzz target can tell a wrong answer from a right one, and the target's way to report a break.
#pragma once

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace corvane::fuzz {

// Prints the rule that broke and aborts, so libFuzzer keeps the input as a crash.
inline void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

// The 8-bit sum over text: from 0xA5, rotate one place right, add the character's code, keep
// the low 8 bits.
inline int ReferenceSum(std::string_view text) {
    int s = 0xA5;
    for (const unsigned char c : text) s = ((((s & 1) << 7) | (s >> 1)) + c) % 256;
    return s;
}

// The value of the hexadecimal digits that lead the first two characters, 0 for none.
inline int ReferenceHexVal(std::string_view text) {
    std::string digits;
    for (const unsigned char c : text.substr(0, 2)) {
        if (!std::isxdigit(c)) break;
        digits.push_back(static_cast<char>(c));
    }
    return digits.empty() ? 0 : std::stoi(digits, nullptr, 16);
}

// Two hexadecimal digits of v's low 8 bits, upper case.
inline std::string ReferenceHex2(int v) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(v) & 0xFFu);
    return text;
}

// The reply test: "{--}" first, or check digits (characters 2-3) equal to the sum of everything
// from character 4; a reply too long for the 401-code array to hold whole is refused.
inline bool ReferenceReplyAccepted(std::string_view reply) {
    if (reply.substr(0, 4) == "{--}") return true;
    if (reply.size() > 401) return false;
    const std::string_view check = reply.size() > 1 ? reply.substr(1, 2) : std::string_view();
    const std::string_view summed = reply.size() > 3 ? reply.substr(3) : std::string_view();
    return ReferenceHexVal(check) == ReferenceSum(summed);
}

}  // namespace corvane::fuzz
