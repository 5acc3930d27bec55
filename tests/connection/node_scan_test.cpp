// Looking for controllers on a line shared by several, against the simulated controller on a
// pseudo-terminal: who is found, and who must not be taken for someone else's late reply.
#include <gtest/gtest.h>

#include "connection/controller_connection.h"
#include "tests/support/demo_line.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;

constexpr int32_t kQuickLimitMs = 20;  // unpaced, a served node answers within a millisecond or two

// Nodes served on one line, each with the demo show, and a connection to node 1 through it.
struct MultiDropLine : testing_support::DemoLine {
    using DemoLine::DemoLine;
    std::unique_ptr<ControllerConnection> connection = ConnectSerial(server.devicePath(), 1);
};

std::vector<int> Range(int first, int last) {
    std::vector<int> nodes;
    for (int n = first; n <= last; ++n) nodes.push_back(n);
    return nodes;
}

TEST(NodeScan, FindsExactlyTheNodesServedInOrder) {
    MultiDropLine line({3, 17, 254});
    std::vector<int> asked;
    ScanEvents events;
    events.probing = [&](int node) { asked.push_back(node); };
    std::vector<int> nodes = Range(1, 40);
    nodes.push_back(254);
    const ScanOutcome outcome = line.connection->scanNodes(nodes, kQuickLimitMs, events);
    ASSERT_TRUE(outcome.ok()) << outcome.portReason;
    EXPECT_EQ(outcome.found, (std::vector<int>{3, 17, 254}));
    EXPECT_EQ(asked, nodes);
    EXPECT_FALSE(line.connection->comCV().PortOpen());
    EXPECT_EQ(line.connection->node(), 1) << "the connection is left on its own node";
}

TEST(NodeScan, AWrongCheckAnswerIsNoController) {
    MultiDropLine line({15, 17},
                       {{0, sim::FaultKind::BadSum, sim::kAlways, sim::Direction::Read, 17}});
    EXPECT_EQ(line.connection->scanNodes(Range(14, 18), kQuickLimitMs, {}).found,
              std::vector<int>{15});
}

TEST(NodeScan, ALateReplyIsNotTakenForTheNextNode) {
    // Node 3 answers 30 ms after each request, past the brief limit: its reply arrives while node 4
    // is asked. Node 4 must not be listed, and node 3 is found by the confirming request.
    MultiDropLine line({3}, {{0, sim::FaultKind::Late, sim::kAlways, sim::Direction::Read, 3}},
                       30ms);
    EXPECT_EQ(line.connection->scanNodes(Range(1, 8), kQuickLimitMs, {}).found,
              std::vector<int>{3});
}

TEST(NodeScan, StopsAtTheFirstFoundWhenAskedAndWhenStopped) {
    MultiDropLine line({3, 17});
    EXPECT_EQ(line.connection->scanNodes({16, 17, 18, 1, 2, 3}, kQuickLimitMs, {}, true).found,
              std::vector<int>{17});
    int asked = 0;
    ScanEvents stopAfterTwo;
    stopAfterTwo.probing = [&](int) { ++asked; };
    stopAfterTwo.stopRequested = [&] { return asked == 2; };
    const ScanOutcome stopped =
        line.connection->scanNodes(Range(1, 20), kQuickLimitMs, stopAfterTwo);
    EXPECT_EQ(stopped.kind, ScanOutcome::Kind::Interrupted);
    EXPECT_EQ(asked, 2);
}

TEST(NodeScan, AMissingPortIsReported) {
    const std::unique_ptr<ControllerConnection> connection =
        ConnectSerial("/dev/ttyCorvaneNoSuchAdapter9", 1);
    const ScanOutcome outcome = connection->scanNodes({1, 2}, kQuickLimitMs, {});
    EXPECT_EQ(outcome.kind, ScanOutcome::Kind::PortFailed);
    EXPECT_EQ(outcome.portDevice, "/dev/ttyCorvaneNoSuchAdapter9");
    EXPECT_TRUE(outcome.found.empty());
}

}  // namespace
}  // namespace corvane
