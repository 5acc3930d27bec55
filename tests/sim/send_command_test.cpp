// The tool's command transaction over a real pseudo-terminal, through QSerialPort, against the
// simulated controller: what reaches the wire, what the tool accepts, RxText after each outcome.
#include <gtest/gtest.h>

#include <memory>

#include "link/controller_link.h"
#include "link/hex.h"
#include "link/port_error.h"
#include "link/port_names.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "sim/pty_server.h"
#include "tests/sim/sim_test_support.h"
#include "tests/sim/watchdog.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kBlock5 =
    "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F"
    "202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F";
const std::string kReadBlock5Command = "39701403F";
const std::string kReadBlock5 = "[A60139701403F]";  // node 01, read 0x0140
const std::string kReply5 = "[B0" + kBlock5 + "]";
const std::string kReply5BadSum = "[B1" + kBlock5 + "]";
const std::string kNoise("\xFF\x00\xF0", 3);
const std::string kBefore = "before the call";

// A stopwatch that always shows the same reading.
class FixedStopwatch final : public Stopwatch {
  public:
    explicit FixedStopwatch(int32_t reading) : reading_(reading) {}
    void Restart() override { ++restarts; }
    int32_t Reading() const override { return reading_; }
    int restarts = 0;

  private:
    int32_t reading_;
};

// The tool's side: the port opened on the simulator's device as a transfer opens it.
struct Tool {
    explicit Tool(const PtyServer& server, Stopwatch* injected = nullptr)
        : stopwatch(injected != nullptr ? *injected : steady) {
        comCV.setCommPort(ports.addDevice(server.devicePath()));
        comCV.setSettings("38400,n,8,1");
        comCV.setPortOpen(true);
        comCV.setRTSEnable(true);
        comCV.setDTREnable(true);
        link.RxText = kBefore;
    }

    PortNames ports;
    SteadyStopwatch steady;
    Stopwatch& stopwatch;
    QtSerialControl comCV{ports};
    int nodeIndex = 0;  // the node list's selection: node 1
    ControllerLink link{comCV, stopwatch, [this] { return nodeIndex; }};
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

TEST(SendCommandOverPty, ReadsBlockOnFirstAttempt) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand(kReadBlock5Command, 132, 4));
    EXPECT_EQ(tool.link.RxText, kReply5);
    EXPECT_EQ(FramesSeen(server), std::vector<std::string>{kReadBlock5});
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

TEST(SendCommandOverPty, ShortRepliesCostThreeFullTimeLimits) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    server.addFault({5, FaultKind::Short, kAlways, Direction::Any});
    Tool tool(server);
    const auto start = Clock::now();
    EXPECT_FALSE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    EXPECT_GE(Clock::now() - start, 3 * 250ms);
}

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

TEST(SendCommandOverPty, LowerCaseReplyIsAccepted) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine(EngineOptions{.lowerCase = true}));
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand(kReadBlock5Command, 132, 4));
    EXPECT_EQ(tool.link.RxText,
              "[68"
              "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"
              "202122232425262728292a2b2c2d2e2f303132333435363738393a3b3c3d3e3f]");
}

TEST(SendCommandOverPty, NoNodeSelectedIsFramedAs00AndGoesUnanswered) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    Tool tool(server);
    tool.nodeIndex = -1;
    EXPECT_FALSE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    EXPECT_EQ(tool.link.RxText, kBefore);
    ASSERT_TRUE(server.waitForRequests(3, 2s));
    EXPECT_EQ(FramesSeen(server), std::vector<std::string>(3, "[4C0039701403F]"));
    EXPECT_EQ(server.requests()[0].verdict, Verdict::OtherNode);
}

TEST(SendCommandOverPty, NodeIsReadAfreshForEachCall) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine(EngineOptions{.node = 254}));
    Tool tool(server);
    tool.nodeIndex = 0;
    EXPECT_FALSE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    tool.nodeIndex = 253;
    EXPECT_TRUE(tool.link.SendCommand(kReadBlock5Command, 132, 1));
    EXPECT_EQ(tool.link.RxText, kReply5);
    EXPECT_EQ(FramesSeen(server).back(), "[E4FE39701403F]");
}

TEST(SendCommandOverPty, ExpectedLengthZeroEndsEachWaitAtOnce) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    server.addFault({5, FaultKind::Drop, kAlways, Direction::Any});
    Tool tool(server);
    const auto start = Clock::now();
    EXPECT_FALSE(tool.link.SendCommand(kReadBlock5Command, 0, 4));
    EXPECT_LT(Clock::now() - start, 1000ms) << "not even one time limit was waited for";
    EXPECT_EQ(tool.link.RxText, "") << "an empty reply was read, and failed";
    ASSERT_TRUE(server.waitForRequests(3, 2s));
    EXPECT_EQ(FramesSeen(server), std::vector<std::string>(3, kReadBlock5));
}

TEST(SendCommandOverPty, LineClosingMidCallIsAPortError) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    server.addFault({5, FaultKind::Close, 1, Direction::Any});
    Tool tool(server);
    EXPECT_TRUE(tool.link.SendCommand("39700003F", 132, 4));
    EXPECT_THROW(tool.link.SendCommand(kReadBlock5Command, 132, 4), PortError);
    EXPECT_FALSE(tool.comCV.PortOpen());
    EXPECT_EQ(FramesSeen(server).size(), 2u) << "no second attempt on a lost line";
}

// The stopwatch alone decides the time limit: a reading just below it is in time, a reading at
// it is too late, however many characters have arrived.
struct Limit {
    int32_t timeout;
    int32_t reading;
    bool inTime;
};

void PrintTo(const Limit& l, std::ostream* os) {
    *os << "time-out " << l.timeout << ", reading " << l.reading;
}

class SendCommandTimeLimit : public testing::TestWithParam<Limit> {};
TEST_P(SendCommandTimeLimit, IsTheStopwatchReadingAgainstTimeoutTimes250) {
    Watchdog deadline(10s, "the transaction");
    PtyServer server(KnownEngine());
    FixedStopwatch stopwatch(GetParam().reading);
    Tool tool(server, &stopwatch);
    EXPECT_EQ(tool.link.SendCommand(kReadBlock5Command, 132, GetParam().timeout),
              GetParam().inTime);
    if (GetParam().inTime) {
        EXPECT_EQ(tool.link.RxText, kReply5);
        EXPECT_EQ(stopwatch.restarts, 1);
    } else {
        EXPECT_EQ(tool.link.RxText, kBefore);
        EXPECT_EQ(stopwatch.restarts, 3);
        ASSERT_TRUE(server.waitForRequests(3, 2s));
        EXPECT_EQ(FramesSeen(server), std::vector<std::string>(3, kReadBlock5));
    }
}
INSTANTIATE_TEST_SUITE_P(Readings, SendCommandTimeLimit,
                         testing::Values(Limit{4, 999, true}, Limit{4, 1000, false},
                                         Limit{1, 249, true}, Limit{1, 250, false},
                                         Limit{4, 0, true}, Limit{4, -5, true}));

// Every block of a show written and read back through the same open port, as a transfer does.
TEST(SendCommandOverPty, MovesAWholeMemoryBothWays) {
    Watchdog deadline(30s, "the transfer");
    PtyServer server(KnownEngine());
    Tool tool(server);
    SceneMemory show{};
    for (int s = 0; s < kBlockCount; ++s)
        for (int d = 0; d < kBlockSize; ++d) show[s][d] = static_cast<uint8_t>(255 - s - 3 * d);
    for (int s = 0; s < kBlockCount; ++s) {
        std::string command = "387" + Hex4(s * 64) + "3F";
        for (uint8_t level : show[s]) command += Hex2(level);
        ASSERT_TRUE(tool.link.SendCommand(command, 6, 4)) << "write block " << s;
    }
    EXPECT_EQ(server.memory(), show);
    for (int s = 0; s < kBlockCount; ++s) {
        ASSERT_TRUE(tool.link.SendCommand("397" + Hex4(s * 64) + "3F", 132, 4))
            << "read block " << s;
        for (int d = 0; d < kBlockSize; ++d)
            ASSERT_EQ(HexVal(tool.link.RxText.substr(3 + 2 * static_cast<size_t>(d), 2)),
                      show[s][d]);
    }
}

}  // namespace
}  // namespace corvane::sim
