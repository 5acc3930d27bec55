// Fixed-width hexadecimal text for the serial line and the window captions.
#include "link/hex.h"

#include <cctype>

namespace corvane {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::string lowDigits(uint32_t v, int width) {
    std::string out(static_cast<size_t>(width), '0');
    for (int i = width - 1; i >= 0; --i, v >>= 4) out[static_cast<size_t>(i)] = kDigits[v & 0xF];
    return out;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string Hex2(int16_t v) {
    return lowDigits(static_cast<uint16_t>(v) & 0xFFu, 2);
}

std::string Hex4(int32_t v) {
    return lowDigits(static_cast<uint32_t>(v) & 0xFFFFu, 4);
}

int32_t HexVal(std::string_view text) {
    int32_t value = 0;
    for (size_t i = 0; i < text.size() && i < 2; ++i) {
        const int digit = digitValue(text[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

std::optional<int> StrictHex(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

bool SameTextAnyCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace corvane
