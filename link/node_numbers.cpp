// Controller node numbers as the technician writes and reads them.
#include "link/node_numbers.h"

#include <charconv>

#include "link/hex.h"

namespace corvane {

std::string NodeName(int node) {
    return "Node: " + Hex2(static_cast<int16_t>(node));
}

std::optional<int> ParseNodeNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars takes no sign and no prefix of its own, so "+1", " 1" and "0x-1" fail here.
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < kFirstNode || value > kLastNode) return std::nullopt;
    return value;
}

}  // namespace corvane
