// Controller node numbers: 1 to 254 on a line, named "Node: 01" to "Node: FE" as the window lists
// them, and written on a command line in decimal ("10") or in hexadecimal with 0x ("0x0A").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr int kFirstNode = 1;
inline constexpr int kLastNode = 254;

// What a refusal says is taken.
inline constexpr const char* kNodeForms =
    "a node number from 1 to 254, in decimal (10) or in hexadecimal with 0x (0x0A)";

// Why text is no node: "0 is not a node: nodes are 1 to 254" for a number outside the range,
// otherwise that it is not kNodeForms.
std::string DescribeBadNode(std::string_view text);

// "Node: " and the number in two upper-case hexadecimal digits: NodeName(17) == "Node: 11".
std::string NodeName(int node);

// "10" or "0x0A" (either case of x and digits); nullopt for anything else or a number outside
// 1 to 254.
std::optional<int> ParseNodeNumber(std::string_view text);

// Node numbers and ranges, "1-254", "3,17,20-30", "0x10-0x1F", each number in either form: the
// nodes in ascending order, each once. nullopt, with the part that is wrong in *error, when any
// part is not a node number or range.
std::optional<std::vector<int>> ParseNodeList(std::string_view text, std::string* error);

}  // namespace corvane
