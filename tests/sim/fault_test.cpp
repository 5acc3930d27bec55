// Fault texts as given on the command line, and faults counted down per block and direction.
#include "sim/fault.h"

#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

TEST(FaultText, ReadsBlockKindCountDirectionAndNode) {
    const std::pair<const char*, Fault> cases[] = {
        {"5:drop:2", {5, FaultKind::Drop, 2, Direction::Any}},
        {"63:late:always", {63, FaultKind::Late, kAlways, Direction::Any}},
        {"0:badsum:1", {0, FaultKind::BadSum, 1, Direction::Any}},
        {"10:close", {10, FaultKind::Close, 1, Direction::Any}},
        {"7:short:3:write", {7, FaultKind::Short, 3, Direction::Write}},
        {"7:extra:always:read", {7, FaultKind::Extra, kAlways, Direction::Read}},
        {"1:noise", {1, FaultKind::Noise, 1, Direction::Any}},
        {"3:drop:always@17", {3, FaultKind::Drop, kAlways, Direction::Any, 17}},
        {"3:badsum:1:read@0xFE", {3, FaultKind::BadSum, 1, Direction::Read, 254}},
    };
    for (const auto& [text, fault] : cases) {
        std::string error;
        EXPECT_EQ(ParseFault(text, &error), fault) << text << ": " << error;
    }
}

TEST(FaultText, RefusesWithAReasonThatQuotesTheText) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "expected BLOCK:KIND"},
        {"5", "expected BLOCK:KIND"},
        {"5:drop:2:read:x", "expected BLOCK:KIND"},
        {"64:drop", "block must be a number from 0 to 63"},
        {"-1:drop", "block must be"},
        {"x:drop", "block must be"},
        {"5 :drop", "block must be"},
        {"5:lose", "kind must be"},
        {"5:DROP", "kind must be"},
        {"5:drop:0", "count must be"},
        {"5:drop:twice", "count must be"},
        {"5:drop:99999999999", "count must be"},
        {"5:drop:1:both", "direction must be"},
        {"5:drop@255", "after @ comes a node number from 1 to 254"},
        {"5:drop@", "after @ comes"},
    };
    for (const auto& [text, reason] : cases) {
        std::string error;
        EXPECT_EQ(ParseFault(text, &error), std::nullopt) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_NE(error.find(text), std::string::npos) << error;
    }
}

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
