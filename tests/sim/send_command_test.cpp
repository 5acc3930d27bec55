// The tool's command transaction over a real pseudo-terminal, through QSerialPort, against the
// simulated controller committing each of its faults: the frames on the wire, what the tool
// accepts, and RxText after each outcome.
#include <gtest/gtest.h>

#include "link/controller_link.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "sim/pty_server.h"
#include "tests/sim/sim_test_support.h"
#include "tests/sim/watchdog.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;

const std::string kBlock5 =
    "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F"
    "202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F";
const std::string kReadBlock5Command = "39701403F";
const std::string kReadBlock5 = "[A60139701403F]";  // node 01, read 0x0140
const std::string kReply5 = "[B0" + kBlock5 + "]";
const std::string kReply5BadSum = "[B1" + kBlock5 + "]";
const std::string kNoise("\xFF\x00\xF0", 3);
const std::string kBefore = "before the call";

// The tool's side: the port opened on the simulator's device as a transfer opens it.
struct Tool {
    explicit Tool(const PtyServer& server) {
        comCV.setDevice(server.devicePath());
        comCV.setSettings("38400,n,8,1");
        comCV.setPortOpen(true);
        comCV.setRTSEnable(true);
        comCV.setDTREnable(true);
        link.RxText = kBefore;
    }

    SteadyStopwatch stopwatch;
    QtSerialControl comCV;
    ControllerLink link{comCV, stopwatch, 1};  // node 1
};

ControllerEngine KnownEngine(EngineOptions options = {}) {
    ControllerEngine engine(options);
    engine.setMemory(KnownMemory());
    return engine;
}

std::vector<std::string> FramesSeen(const PtyServer& server) {
    std::vector<std::string> frames;
    for (const RequestRecord& r : server.requests()) frames.push_back(r.frame);
    return frames;
}

struct Recovery {
    FaultKind kind;
    int failures;  // attempts that fail before the block is answered
};

void PrintTo(const Recovery& r, std::ostream* os) {
    *os << FaultKindName(r.kind) << " " << r.failures << " times";
}

class SendCommandRecovers : public testing::TestWithParam<Recovery> {};
TEST_P(SendCommandRecovers, WithTheSameFrame) {
    Watchdog deadline(10s, "the transaction");
    // A late reply comes well after the whole call, so it cannot stand in for a later one.
    PtyServer server(KnownEngine(EngineOptions{.lateDelay = 3000ms}));
    server.addFault({5, GetParam().kind, GetParam().failures, Direction::Any});
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    EXPECT_EQ(tool.link.RxText, kReply5);
    EXPECT_EQ(FramesSeen(server),
              std::vector<std::string>(static_cast<size_t>(GetParam().failures) + 1, kReadBlock5));
}
INSTANTIATE_TEST_SUITE_P(
    Faults, SendCommandRecovers,
    testing::Values(Recovery{FaultKind::Drop, 1}, Recovery{FaultKind::Drop, 2},
                    Recovery{FaultKind::BadSum, 1}, Recovery{FaultKind::BadSum, 2},
                    Recovery{FaultKind::Short, 2}, Recovery{FaultKind::Late, 2},
                    Recovery{FaultKind::Extra, 2}, Recovery{FaultKind::Noise, 2}),
    [](const auto& info) {
        return std::string(FaultKindName(info.param.kind)) + std::to_string(info.param.failures);
    });

struct Failure {
    FaultKind kind;
    std::string rxText;  // after the third failed attempt
};

void PrintTo(const Failure& f, std::ostream* os) {
    *os << FaultKindName(f.kind) << " always";
}

class SendCommandGivesUp : public testing::TestWithParam<Failure> {};
TEST_P(SendCommandGivesUp, AfterThreeIdenticalFrames) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine(EngineOptions{.lateDelay = 3000ms}));
    server.addFault({5, GetParam().kind, kAlways, Direction::Any});
    Tool tool(server);
    EXPECT_FALSE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    EXPECT_EQ(Visible(tool.link.RxText), Visible(GetParam().rxText));
    ASSERT_TRUE(server.waitForRequests(3, 2s));
    EXPECT_EQ(FramesSeen(server), std::vector<std::string>(3, kReadBlock5));
}
INSTANTIATE_TEST_SUITE_P(
    Faults, SendCommandGivesUp,
    testing::Values(Failure{FaultKind::Drop, kBefore},  // no attempt got as far as reading
                    Failure{FaultKind::Short, kBefore}, Failure{FaultKind::Late, kBefore},
                    Failure{FaultKind::BadSum, kReply5BadSum},
                    Failure{FaultKind::Noise, kNoise + kReply5},
                    Failure{FaultKind::Extra, kReply5 + "\r\n"}),
    [](const auto& info) { return std::string(FaultKindName(info.param.kind)); });

TEST(SendCommandOverPty, AcknowledgementIsAcceptedAndWriteStored) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand("38701403F" + std::string(128, '0'), 6, 4));
    EXPECT_EQ(tool.link.RxText, "{--}01");
    EXPECT_EQ(server.memory()[5], Block{});
}

TEST(SendCommandOverPty, FramedAcknowledgementIsAccepted) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine(EngineOptions{.ack = AckStyle::Framed}));
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand("38701403F" + std::string(128, '0'), 6, 4));
    EXPECT_EQ(tool.link.RxText, "[7601]");
}

TEST(SendCommandOverPty, AcknowledgementWithWrongCheckDigitsIsRefusedOnce) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    server.addFault({5, FaultKind::BadSum, 1, Direction::Write});
    Tool tool(server);
    const std::string frame =
        "[8D0138701403F" + std::string(128, '0') + "]";  // node 01, write 0x0140
    EXPECT_TRUE(tool.link.SendCommand("38701403F" + std::string(128, '0'), 6, 1));
    EXPECT_EQ(tool.link.RxText, "{--}01");
    EXPECT_EQ(FramesSeen(server), std::vector<std::string>(2, frame));
}

}  // namespace
}  // namespace corvane::sim
