// Node numbers as a technician types them: decimal or 0x hexadecimal, 1 to 254 only. Their names
// and the words for a zero or backward range stand in the window's and corvane-scenes' tests.
#include "link/node_numbers.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(NodeNumbers, DecimalAndHexadecimalWithinTheLine) {
    const std::pair<const char*, int> good[] = {{"1", 1},      {"254", 254}, {"0x0A", 10},
                                                {"0XfE", 254}, {"0x01", 1},  {"010", 10}};
    for (const auto& [text, node] : good) EXPECT_EQ(ParseNodeNumber(text), node) << text;
    for (const char* bad :
         {"0", "255", "0xFF", "0x", "", "x", "-1", "+1", " 1", "1 ", "0x-1", "A", "99999999999"})
        EXPECT_EQ(ParseNodeNumber(bad), std::nullopt) << '"' << bad << '"';
}

TEST(NodeNumbers, ListsOfNumbersAndRanges) {
    std::string error;
    EXPECT_EQ(ParseNodeList("3,17,20-23", &error), (std::vector<int>{3, 17, 20, 21, 22, 23}))
        << error;
    EXPECT_EQ(ParseNodeList("0x10-0x12,1,0x01", &error), (std::vector<int>{1, 16, 17, 18}))
        << error;
    EXPECT_EQ(ParseNodeList("1-254", &error)->size(), 254u);
    for (const char* bad : {"", "3,", "3;4", "x", "1--2"}) {
        EXPECT_EQ(ParseNodeList(bad, &error), std::nullopt) << bad;
        EXPECT_NE(error.find("is not a node number or a range"), std::string::npos) << error;
    }
    EXPECT_EQ((ParseNodeList("1-255", &error), error), "255 is not a node: nodes are 1 to 254");
}

}  // namespace
}  // namespace corvane
