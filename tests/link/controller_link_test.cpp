// The command transaction against a scripted serial control and a stopwatch the test drives:
// frames written, drains, attempts, the time limit and the reply text left behind.
#include "link/controller_link.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "link/port_error.h"
#include "tests/link/link_lines.h"
#include "tests/support/fake_comm_control.h"
#include "tests/support/test_stopwatch.h"

namespace corvane {
namespace {

using namespace std::string_literals;
using testing_support::FakeCommControl;
using testing_support::kBlockReply;
using testing_support::TestStopwatch;
using Reply = FakeCommControl::Reply;

constexpr const char* kReadBlock0 = "39700003F";
constexpr const char* kFrameBlock0 = "[DD0139700003F]";  // node 1 (list entry 0), block 0
// The same length with wrong check digits.
const std::string kBadSumReply = "[C1" + kBlockReply.substr(3);
const std::string kBefore = "from the previous block";

class SendCommandTest : public ::testing::Test {
  protected:
    SendCommandTest() { comCV.setPortOpen(true); }

    bool Send(const std::string& command = kReadBlock0, int16_t expected = 132,
              int32_t timeout = 4) {
        comCV.calls.clear();
        return link.SendCommand(command, expected, timeout);
    }

    TestStopwatch clock;
    FakeCommControl comCV{clock};
    ControllerLink link{comCV, clock, 1};
};

// A line scripted as replies to the frames in turn (none: silence), and what the call must give:
// its result, the same frame written each attempt, RxText, the time on the stopwatch.
struct Script {
    const char* what;
    std::vector<Reply> replies;
    size_t frames;
    std::string rxText;
    int64_t took;  // -1: not checked
    int16_t expected;
    bool accepted;
};

Script Case(const char* what, std::vector<Reply> replies, bool accepted, size_t frames,
            std::string rxText, int64_t took = -1, int16_t expected = 132) {
    return Script{what, std::move(replies), frames, std::move(rxText), took, expected, accepted};
}

// A reply of one piece, complete atMs after its frame.
Reply At(std::string text, int64_t atMs) {
    return Reply{{std::move(text), atMs}};
}

TEST(SendCommandScripted, EachLineGivesItsResultFramesRxTextAndTime) {
    const std::string bad131 = kBadSumReply.substr(0, 131) + "X";
    const Script cases[] = {
        Case("a good reply at once", {At(kBlockReply, 40)}, true, 1, kBlockReply, 40),
        Case("wrong check digits, then good", {At(kBadSumReply, 0), At(kBlockReply, 30)}, true, 2,
             kBlockReply),
        // The short reply is drained by the next attempt.
        Case("silence, short, then good",
             {{}, At(kBlockReply.substr(0, 100), 20), At(kBlockReply, 20)}, true, 3, kBlockReply,
             1000 + 1000 + 20),
        Case("three bad replies: the last text read stays",
             {At(kBadSumReply, 0), At("[DD0139700003F]" + std::string(117, '0'), 0), At(bad131, 0)},
             false, 3, bad131),
        Case("silence costs three full limits and reads nothing", {}, false, 3, kBefore, 3000),
        Case("short replies are never read",
             std::vector<Reply>(3, At(kBlockReply.substr(0, 131), 10)), false, 3, kBefore, 3000),
        Case("complete just inside the limit", {At(kBlockReply, 999)}, true, 1, kBlockReply, 999),
        // Never read: each late reply is drained by the next attempt.
        Case("complete at the limit is late, however long",
             std::vector<Reply>(3, At(kBlockReply, 1000)), false, 3, kBefore),
        Case("a late reply is drained, not taken by the next attempt",
             {At(kBadSumReply, 1000), At(kBlockReply, 10)}, true, 2, kBlockReply),
        // The extra characters spoil the sum; a reply arriving in two pieces is whole.
        Case("characters beyond the expected length belong to the reply",
             {At(kBlockReply + "00", 10),
              Reply{{kBlockReply.substr(0, 60), 5}, {kBlockReply.substr(60), 8}}},
             true, 2, kBlockReply),
        Case("the acknowledgement, whatever follows", {At("{--}\xff\x00"s, 12)}, true, 1,
             "{--}\xff\x00"s, 12, 6),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestStopwatch clock;
        FakeCommControl comCV{clock};
        comCV.setPortOpen(true);
        for (const Reply& r : c.replies) comCV.queueReply(r);
        ControllerLink link{comCV, clock, 1};
        link.RxText = kBefore;
        const bool ack = c.expected == 6;  // a block write, acknowledged
        EXPECT_EQ(link.SendCommand(ack ? "3870FC03F" + std::string(128, '0') : kReadBlock0,
                                   c.expected, 4),
                  c.accepted);
        const std::string frame =
            ack ? "[E6013870FC03F" + std::string(128, '0') + "]" : kFrameBlock0;
        EXPECT_EQ(comCV.outputs, std::vector<std::string>(c.frames, frame));
        EXPECT_EQ(link.RxText, c.rxText);
        EXPECT_EQ(clock.restarts, static_cast<int>(c.frames));
        if (c.took >= 0) {
            EXPECT_EQ(clock.now(), c.took);
        }
        for (const int slice : comCV.waits) {  // waits in slices of at most ten milliseconds
            EXPECT_GT(slice, 0);
            EXPECT_LE(slice, 10);
        }
    }
}

TEST_F(SendCommandTest, SaysWhatEachFailedAttemptMet) {
    comCV.queueSilence();
    comCV.queueReply(kBlockReply.substr(0, 60), 200);
    comCV.queueReply(kBadSumReply, 30);
    EXPECT_FALSE(Send());
    EXPECT_EQ(link.failedAttempts(),
              (std::vector<AttemptResult>{AttemptResult::NoAnswer, AttemptResult::TooShort,
                                          AttemptResult::WrongCheck}));
    comCV.queueReply(kBlockReply, 1000);  // complete only as the limit passes
    comCV.queueReply(kBlockReply, 10);
    EXPECT_TRUE(Send());
    EXPECT_EQ(link.failedAttempts(), std::vector<AttemptResult>{AttemptResult::TooLate});
}

TEST_F(SendCommandTest, DrainsFourTimesBeforeFramingAndBeforeEachAttempt) {
    comCV.inject("stale reply from before");
    comCV.queueSilence();
    comCV.queueReply(kBlockReply, 5);
    EXPECT_TRUE(Send());
    const std::string output = "Output="s + kFrameBlock0;
    std::vector<std::string> expected(8, "Input");  // before framing, then before attempt 1
    expected.push_back(output);                     // attempt 1 runs out of time: nothing read
    expected.insert(expected.end(), 4, "Input");    // before attempt 2
    expected.push_back(output);
    expected.emplace_back("Input");  // the reply
    EXPECT_EQ(comCV.callsWithoutPolls(), expected);
    EXPECT_EQ(link.RxText, kBlockReply);
}

TEST_F(SendCommandTest, TimeLimitIsTimeoutTimes250StopwatchUnits) {
    EXPECT_FALSE(Send(kReadBlock0, 132, 1));
    EXPECT_EQ(clock.now(), 750);
    clock.advance(5);
    EXPECT_FALSE(Send(kReadBlock0, 132, 0));  // no time at all: three frames, no wait
    EXPECT_EQ(clock.now(), 755);
    EXPECT_EQ(comCV.outputs.size(), 6u);
}

TEST_F(SendCommandTest, ExpectedLengthZeroEndsTheWaitAtOnce) {
    link.RxText = "before";
    EXPECT_FALSE(Send(kReadBlock0, 0, 4));  // an empty reply: sum 165, check value 0
    EXPECT_EQ(clock.now(), 0);
    EXPECT_TRUE(comCV.waits.empty());
    EXPECT_EQ(comCV.outputs.size(), 3u);
    EXPECT_EQ(link.RxText, "");
    comCV.queueReply("[A5");
    EXPECT_TRUE(Send(kReadBlock0, 0, 4));
    EXPECT_EQ(link.RxText, "[A5");
}

TEST(SendCommandNodes, EachLinkFramesItsOwnNodeAndNoNodeIsNodeZero) {
    const struct {
        int node;
        const char* command;
        std::vector<std::string> frames;
    } cases[] = {
        {0, "39700003F", std::vector<std::string>(3, "[140039700003F]")},  // none chosen: "00"
        {2, "3970FC03F", {"[F5023970FC03F]"}},
        {254, "39700003F", {"[2CFE39700003F]"}},
    };
    for (const auto& c : cases) {
        TestStopwatch clock;
        FakeCommControl comCV{clock};
        comCV.setPortOpen(true);
        if (c.node != 0) comCV.queueReply("{--}");
        ControllerLink link{comCV, clock, c.node};
        EXPECT_EQ(link.SendCommand(c.command, 4, 4), c.node != 0);
        EXPECT_EQ(comCV.outputs, c.frames) << c.node;
    }
}

TEST_F(SendCommandTest, PortErrorsReachTheCaller) {
    comCV.loseLineOnNextWait();
    EXPECT_THROW(Send(), PortError);
    EXPECT_EQ(comCV.outputs.size(), 1u);
    comCV.setPortOpen(true);
    comCV.loseLineOnOutput();
    EXPECT_THROW(Send(), PortError);
}

TEST_F(SendCommandTest, CommandTooLongForTheCodeArraySendsNothing) {
    EXPECT_THROW(Send(std::string(399, '0')), std::length_error);
    EXPECT_TRUE(comCV.outputs.empty());
}

}  // namespace
}  // namespace corvane
