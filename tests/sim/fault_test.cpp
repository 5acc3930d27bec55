// Fault texts as given on the command line, and faults counted down per block and direction.
#include "sim/fault.h"

#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

struct GoodFault {
    const char* text;
    Fault fault;
};

void PrintTo(const GoodFault& f, std::ostream* os) {
    *os << f.text;
}

class GoodFaultText : public testing::TestWithParam<GoodFault> {};
TEST_P(GoodFaultText, Parses) {
    std::string error;
    EXPECT_EQ(ParseFault(GetParam().text, &error), GetParam().fault) << error;
}
INSTANTIATE_TEST_SUITE_P(
    Texts, GoodFaultText,
    testing::Values(GoodFault{"5:drop:2", {5, FaultKind::Drop, 2, Direction::Any}},
                    GoodFault{"63:late:always", {63, FaultKind::Late, kAlways, Direction::Any}},
                    GoodFault{"0:badsum:1", {0, FaultKind::BadSum, 1, Direction::Any}},
                    GoodFault{"10:close", {10, FaultKind::Close, 1, Direction::Any}},
                    GoodFault{"7:short:3:write", {7, FaultKind::Short, 3, Direction::Write}},
                    GoodFault{"7:extra:always:read",
                              {7, FaultKind::Extra, kAlways, Direction::Read}},
                    GoodFault{"1:noise", {1, FaultKind::Noise, 1, Direction::Any}},
                    GoodFault{"3:drop:always@17", {3, FaultKind::Drop, kAlways, Direction::Any, 17}},
                    GoodFault{"3:badsum:1:read@0xFE", {3, FaultKind::BadSum, 1, Direction::Read, 254}}));

struct BadFault {
    const char* text;
    const char* reasonPart;
};

void PrintTo(const BadFault& f, std::ostream* os) {
    *os << '"' << f.text << '"';
}

class BadFaultText : public testing::TestWithParam<BadFault> {};
TEST_P(BadFaultText, IsRefusedWithReason) {
    std::string error;
    EXPECT_EQ(ParseFault(GetParam().text, &error), std::nullopt);
    EXPECT_NE(error.find(GetParam().reasonPart), std::string::npos) << error;
    EXPECT_NE(error.find(GetParam().text), std::string::npos) << error;
}
INSTANTIATE_TEST_SUITE_P(
    Texts, BadFaultText,
    testing::Values(BadFault{"", "expected BLOCK:KIND"}, BadFault{"5", "expected BLOCK:KIND"},
                    BadFault{"5:drop:2:read:x", "expected BLOCK:KIND"},
                    BadFault{"64:drop", "block must be a number from 0 to 63"},
                    BadFault{"-1:drop", "block must be"}, BadFault{"x:drop", "block must be"},
                    BadFault{"5 :drop", "block must be"}, BadFault{"5:lose", "kind must be"},
                    BadFault{"5:DROP", "kind must be"}, BadFault{"5:drop:0", "count must be"},
                    BadFault{"5:drop:twice", "count must be"},
                    BadFault{"5:drop:99999999999", "count must be"},
                    BadFault{"5:drop:1:both", "direction must be"},
                    BadFault{"5:drop@255", "after @ comes a node number from 1 to 254"},
                    BadFault{"5:drop@", "after @ comes"}));

TEST(FaultPlan, CountsDownInOrderPerBlockAndDirection) {
    FaultPlan plan;
    plan.add({5, FaultKind::Drop, 2, Direction::Any});
    plan.add({5, FaultKind::Late, 1, Direction::Write});
    plan.add({6, FaultKind::Noise, kAlways, Direction::Read});

    EXPECT_EQ(plan.take(4, Direction::Read, 1), std::nullopt);
    EXPECT_EQ(plan.take(5, Direction::Read, 1), FaultKind::Drop);
    EXPECT_EQ(plan.take(5, Direction::Write, 1), FaultKind::Drop);
    EXPECT_EQ(plan.take(5, Direction::Read, 1), std::nullopt);
    EXPECT_EQ(plan.take(5, Direction::Write, 1), FaultKind::Late);
    EXPECT_EQ(plan.take(5, Direction::Write, 1), std::nullopt);
    EXPECT_EQ(plan.take(6, Direction::Write, 1), std::nullopt);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(plan.take(6, Direction::Read, 1), FaultKind::Noise);
    // A fault for one node of a shared line passes the others by.
    plan.add({7, FaultKind::Drop, 1, Direction::Any, 17});
    EXPECT_EQ(plan.take(7, Direction::Read, 3), std::nullopt);
    EXPECT_EQ(plan.take(7, Direction::Read, 17), FaultKind::Drop);
    plan.clear();
    EXPECT_EQ(plan.take(6, Direction::Read, 1), std::nullopt);
}

}  // namespace
}  // namespace corvane::sim
