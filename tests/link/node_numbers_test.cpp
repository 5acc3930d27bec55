// Node numbers as a technician types them: decimal or 0x hexadecimal, 1 to 254 only.
#include "link/node_numbers.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(NodeNumbers, DecimalAndHexadecimalWithinTheLine) {
    struct Case {
        const char* text;
        std::optional<int> node;
    };
    const Case cases[] = {
        {"1", 1},
        {"254", 254},
        {"0x0A", 10},
        {"0XfE", 254},
        {"0x01", 1},
        {"010", 10},
        {"0", std::nullopt},
        {"255", std::nullopt},
        {"0xFF", std::nullopt},
        {"0x", std::nullopt},
        {"", std::nullopt},
        {"x", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"0x-1", std::nullopt},
        {"A", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseNodeNumber(c.text), c.node) << '"' << c.text << '"';
}

TEST(NodeNumbers, NamedAsTheWindowListsThem) {
    EXPECT_EQ(NodeName(1), "Node: 01");
    EXPECT_EQ(NodeName(17), "Node: 11");
    EXPECT_EQ(NodeName(254), "Node: FE");
}

}  // namespace
}  // namespace corvane
