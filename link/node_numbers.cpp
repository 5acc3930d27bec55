// Controller node numbers as the technician writes and reads them.
#include "link/node_numbers.h"

#include <algorithm>
#include <charconv>

#include "link/hex.h"

namespace corvane {

std::string NodeName(int node) {
    return "Node: " + Hex2(static_cast<int16_t>(node));
}

namespace {

// The number text writes, in decimal or 0x hexadecimal, whatever its range.
std::optional<int> ParseNumber(std::string_view text) {
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
    return value;
}

}  // namespace

std::optional<int> ParseNodeNumber(std::string_view text) {
    const std::optional<int> value = ParseNumber(text);
    if (!value || *value < kFirstNode || *value > kLastNode) return std::nullopt;
    return value;
}

std::string DescribeBadNode(std::string_view text) {
    if (ParseNumber(text)) return std::string(text) + " is not a node: nodes are 1 to 254";
    return "\"" + std::string(text) + "\" is not " + kNodeForms;
}

std::optional<std::vector<int>> ParseNodeList(std::string_view text, std::string* error) {
    std::vector<int> nodes;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string_view part = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const size_t dash = part.find('-');
        const std::optional<int> first = ParseNodeNumber(part.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : ParseNodeNumber(part.substr(dash + 1));
        if (!first || !last || *last < *first) {
            if (error == nullptr) return std::nullopt;
            if (first && last)
                *error = std::string(part) + " runs backwards";
            else if (ParseNumber(part.substr(0, dash)) && !first)
                *error = DescribeBadNode(part.substr(0, dash));
            else if (dash != std::string_view::npos && ParseNumber(part.substr(dash + 1)) && !last)
                *error = DescribeBadNode(part.substr(dash + 1));
            else
                *error = "\"" + std::string(part) +
                         "\" is not a node number or a range of them such as 20-30";
            return std::nullopt;
        }
        for (int n = *first; n <= *last; ++n) nodes.push_back(n);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    return nodes;
}

}  // namespace corvane
