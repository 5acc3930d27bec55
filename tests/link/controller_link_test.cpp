// The command transaction against a scripted serial control and a stopwatch the test drives:
// frames written, drains, attempts, the time limit and the reply text left behind.
#include "link/controller_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "link/port_error.h"
#include "tests/support/fake_comm_control.h"
#include "tests/support/test_stopwatch.h"

namespace corvane {
namespace {

using namespace std::string_literals;
using testing_support::FakeCommControl;
using testing_support::TestStopwatch;

constexpr const char* kReadBlock0 = "39700003F";
constexpr const char* kFrameBlock0 = "[DD0139700003F]";  // node 1 (list entry 0), block 0
// A block read reply of 132 characters with right check digits.
const std::string kBlockReply =
    "[C00004080C1014181C2024282C3034383C4044484C5054585C6064686C7074787C8084888C9094989CA0A4A8ACB"
    "0B4B8BCC0C4C8CCD0D4D8DCE0E4E8ECF0F4F8FC]";
// The same length with wrong check digits.
const std::string kBadSumReply = "[C1" + kBlockReply.substr(3);

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

TEST_F(SendCommandTest, AcceptsAGoodReplyOnTheFirstAttempt) {
    comCV.queueReply(kBlockReply, 40);
    EXPECT_TRUE(Send());
    EXPECT_EQ(link.RxText, kBlockReply);
    EXPECT_EQ(comCV.outputs, std::vector<std::string>{kFrameBlock0});
    EXPECT_EQ(clock.now(), 40);
}

TEST_F(SendCommandTest, SaysWhatEachFailedAttemptMet) {
    comCV.queueSilence();
    comCV.queueReply(kBlockReply.substr(0, 60), 200);
    comCV.queueReply(kBadSumReply, 30);
    EXPECT_FALSE(Send());
    EXPECT_EQ(link.failedAttempts(), (std::vector<AttemptResult>{AttemptResult::NoAnswer, AttemptResult::TooShort,
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

TEST_F(SendCommandTest, RecoversAfterOneFailedAttempt) {
    comCV.queueReply(kBadSumReply);
    comCV.queueReply(kBlockReply, 30);
    EXPECT_TRUE(Send());
    EXPECT_EQ(comCV.outputs, std::vector<std::string>(2, kFrameBlock0));
    EXPECT_EQ(link.RxText, kBlockReply);
}

TEST_F(SendCommandTest, RecoversAfterTwoFailedAttempts) {
    comCV.queueSilence();
    comCV.queueReply(kBlockReply.substr(0, 100), 20);  // stops short; drained by the next attempt
    comCV.queueReply(kBlockReply, 20);
    EXPECT_TRUE(Send());
    EXPECT_EQ(comCV.outputs, std::vector<std::string>(3, kFrameBlock0));
    EXPECT_EQ(link.RxText, kBlockReply);
    EXPECT_EQ(clock.now(), 1000 + 1000 + 20);
    EXPECT_EQ(clock.restarts, 3);
}

TEST_F(SendCommandTest, FailsAfterThreeAttemptsWithThreeIdenticalFrames) {
    comCV.queueReply(kBadSumReply);
    comCV.queueReply("[DD0139700003F]" + std::string(117, '0'));
    comCV.queueReply(kBadSumReply.substr(0, 131) + "X");
    EXPECT_FALSE(Send());
    EXPECT_EQ(comCV.outputs, std::vector<std::string>(3, kFrameBlock0));
    EXPECT_EQ(link.RxText, kBadSumReply.substr(0, 131) + "X");  // the last text read
}

TEST_F(SendCommandTest, SilenceCostsThreeFullLimitsAndLeavesRxTextAlone) {
    link.RxText = "from the previous block";
    EXPECT_FALSE(Send());
    EXPECT_EQ(comCV.outputs.size(), 3u);
    EXPECT_EQ(clock.now(), 3000);
    EXPECT_EQ(link.RxText, "from the previous block");
}

TEST_F(SendCommandTest, ShortRepliesNeverGetReadAndCostThreeLimits) {
    for (int i = 0; i < 3; ++i) comCV.queueReply(kBlockReply.substr(0, 131), 10);
    link.RxText = "before";
    EXPECT_FALSE(Send());
    EXPECT_EQ(clock.now(), 3000);
    EXPECT_EQ(link.RxText, "before");
}

TEST_F(SendCommandTest, TimeLimitIsTimeoutTimes250StopwatchUnits) {
    EXPECT_FALSE(Send(kReadBlock0, 132, 1));
    EXPECT_EQ(clock.now(), 750);
    clock.advance(5);
    EXPECT_FALSE(Send(kReadBlock0, 132, 0));  // no time at all: three frames, no wait
    EXPECT_EQ(clock.now(), 755);
    EXPECT_EQ(comCV.outputs.size(), 6u);
}

TEST_F(SendCommandTest, ReplyCompletingJustInsideTheLimitIsAccepted) {
    comCV.queueReply(kBlockReply, 999);
    EXPECT_TRUE(Send());
    EXPECT_EQ(comCV.outputs.size(), 1u);
}

TEST_F(SendCommandTest, ReplyCompletingAtTheLimitIsLateEvenWithEnoughCharacters) {
    comCV.queueReply(kBlockReply, 1000);
    comCV.queueReply(kBlockReply, 1000);
    comCV.queueReply(kBlockReply, 1000);
    link.RxText = "before";
    EXPECT_FALSE(Send());
    EXPECT_EQ(comCV.outputs.size(), 3u);
    EXPECT_EQ(link.RxText, "before");  // never read: each late reply is drained by the next attempt
}

TEST_F(SendCommandTest, LateReplyIsDrainedNotTakenByTheNextAttempt) {
    comCV.queueReply(kBadSumReply, 1000);
    comCV.queueReply(kBlockReply, 10);
    EXPECT_TRUE(Send());
    EXPECT_EQ(link.RxText, kBlockReply);
}

TEST_F(SendCommandTest, WaitsInSlicesOfAtMostTenMilliseconds) {
    comCV.queueReply(kBlockReply, 995);
    EXPECT_TRUE(Send());
    ASSERT_FALSE(comCV.waits.empty());
    for (const int slice : comCV.waits) {
        EXPECT_GT(slice, 0);
        EXPECT_LE(slice, 10);
    }
}

TEST_F(SendCommandTest, CharactersBeyondTheExpectedLengthBelongToTheReply) {
    comCV.queueReply(kBlockReply + "00", 10);  // the extra characters spoil the sum
    comCV.queueReply(
        FakeCommControl::Reply{{kBlockReply.substr(0, 60), 5}, {kBlockReply.substr(60), 8}});
    EXPECT_TRUE(Send());
    EXPECT_EQ(comCV.outputs.size(), 2u);
    EXPECT_EQ(link.RxText, kBlockReply);
}

TEST_F(SendCommandTest, AcceptsTheAcknowledgementWhateverFollows) {
    comCV.queueReply("{--}\xff\x00"s, 12);
    EXPECT_TRUE(Send("3870FC03F" + std::string(128, '0'), 6, 4));
    EXPECT_EQ(link.RxText, "{--}\xff\x00"s);
    EXPECT_EQ(comCV.outputs.size(), 1u);
}

TEST(SendCommandNodes, EachLinkFramesItsOwnNodeAndNoNodeIsNodeZero) {
    struct Case {
        int node;
        const char* command;
        std::vector<std::string> frames;
    };
    const Case cases[] = {
        {0, "39700003F", std::vector<std::string>(3, "[140039700003F]")},  // none chosen: "00", no answer
        {2, "3970FC03F", {"[F5023970FC03F]"}},
        {254, "39700003F", {"[2CFE39700003F]"}},
    };
    for (const Case& c : cases) {
        TestStopwatch clock;
        FakeCommControl comCV{clock};
        comCV.setPortOpen(true);
        if (c.node != 0) comCV.queueReply("{--}");
        ControllerLink link{comCV, clock, c.node};
        EXPECT_EQ(link.SendCommand(c.command, 4, 4), c.node != 0);
        EXPECT_EQ(comCV.outputs, c.frames) << c.node;
    }
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

TEST_F(SendCommandTest, ResponderAnswersFromTheFrameItReceives) {
    comCV.setResponder([](const std::string& frame) {
        return FakeCommControl::Reply{{frame, 3}};  // echo: a request passes the reply test
    });
    EXPECT_TRUE(Send(kReadBlock0, 15, 4));
    EXPECT_EQ(link.RxText, kFrameBlock0);
}

}  // namespace
}  // namespace corvane
