// Get and Send against a scripted line: the port set-up and closing, all-or-nothing Get, and
// refusals before anything is sent.
#include "transfer/scene_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "link/frame.h"
#include "link/hex.h"
#include "tests/support/fake_comm_control.h"
#include "transfer/transfer_report.h"

namespace corvane {
namespace {

using testing_support::FakeCommControl;
using testing_support::TestStopwatch;

// The read reply a controller gives for a block whose byte d is (block + d) & 0xFF.
std::string ReadReply(int block) {
    std::string digits;
    for (int d = 0; d < 64; ++d) digits += Hex2(static_cast<int16_t>((block + d) & 0xFF));
    CodeArray codes{};
    const std::string body = digits + "]";
    const std::string probe = "[00" + body;
    const int32_t n = DxStrToArray(probe, codes);
    return "[" + Hex2(FrameChecksum(codes, 3, n)) + body;
}

int BlockOf(const std::string& frame) {
    return HexVal(frame.substr(8, 2)) * 256 / 64 + HexVal(frame.substr(10, 2)) / 64;
}

struct World {
    TestStopwatch clock;
    FakeCommControl port{clock};
    ControllerLink link{port, clock, 1};
    SceneTransfer transfer{link, "/dev/ttyS7"};
    std::vector<int> progress;
    TransferEvents events;
    std::vector<std::pair<int, bool>> failures;  // block, port open while reported

    World() {
        events.blockStarting = [this](int b) { progress.push_back(b); };
        events.blockFailed = [this](const TransferOutcome& o) {
            failures.emplace_back(o.block, port.PortOpen());
        };
    }
    // Every read answered, except the listed blocks, which stay silent.
    void answerReads(const std::vector<int>& silent = {}) {
        port.setResponder([silent](const std::string& frame) {
            const int block = BlockOf(frame);
            if (std::find(silent.begin(), silent.end(), block) != silent.end())
                return FakeCommControl::Reply{};
            return FakeCommControl::Reply{{ReadReply(block), 5}};
        });
    }
};

TEST(GetScenes, SetsUpThePortReplacesEveryLevelBlockByBlockAndClosesIt) {
    World w;
    w.answerReads();
    SceneTable scenes;
    scenes.fill(-7);
    ASSERT_TRUE(w.transfer.getScenes(scenes, w.events).ok());
    const std::vector<std::string> calls = w.port.callsWithoutPolls();
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5),
              (std::vector<std::string>{"Device=/dev/ttyS7", "Settings=38400,n,8,1", "PortOpen=1",
                                        "RTSEnable=1", "DTREnable=1"}));
    EXPECT_EQ(calls.back(), "PortOpen=0");
    EXPECT_FALSE(w.port.PortOpen());
    ASSERT_EQ(w.port.outputs.size(), 64u);
    EXPECT_EQ(w.port.outputs[0], "[DD0139700003F]");
    EXPECT_EQ(w.port.outputs[1], "[9E0139700403F]");
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) ASSERT_EQ(scenes(s, d), (s + d) & 0xFF) << s << "," << d;
    std::vector<int> expected(64);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(w.progress, expected);
}

// Reported once, while the port is still open; then the port is closed, and a Get leaves the
// whole table as it was.
TEST(Transfers, AFailedBlockIsReportedOnceWithThePortOpenAndAGetChangesNothing) {
    for (int failing : {0, 31, 63}) {
        World w;
        w.answerReads({failing});
        SceneTable scenes = SceneTable::with({{0, 0, 42}, {63, 63, 17}});
        const SceneTable before = scenes;
        const TransferOutcome outcome = w.transfer.getScenes(scenes, w.events);
        EXPECT_EQ(outcome.kind, TransferOutcome::Kind::BlockFailed);
        EXPECT_EQ(outcome.block, failing);
        EXPECT_EQ(scenes, before) << "block " << failing;
        EXPECT_EQ(w.failures, (std::vector<std::pair<int, bool>>{{failing, true}}));
        EXPECT_FALSE(w.port.PortOpen());
        // Three attempts at the last.
        EXPECT_EQ(w.port.outputs.size(), static_cast<size_t>(failing + 3));
        EXPECT_EQ(w.progress.back(), failing);
    }
    World w;  // a Send whose second block is never acknowledged
    w.port.setResponder([&w](const std::string&) {
        return w.port.outputs.size() > 1 ? FakeCommControl::Reply{}
                                         : FakeCommControl::Reply{{"{--}01", 5}};
    });
    const TransferOutcome outcome = w.transfer.sendScenes(SceneTable{}, w.events);
    EXPECT_EQ(outcome.kind, TransferOutcome::Kind::BlockFailed);
    EXPECT_EQ(outcome.block, 1);
    EXPECT_EQ(w.failures, (std::vector<std::pair<int, bool>>{{1, true}}));
    EXPECT_EQ(w.port.outputs.size(), 4u);
    EXPECT_FALSE(w.port.PortOpen());
}

TEST(SendScenes, WritesEachBlocksLevelsAndWaitsForTheAcknowledgement) {
    World w;
    w.port.setResponder([](const std::string&) { return FakeCommControl::Reply{{"{--}01", 5}}; });
    SceneTable scenes = SceneTable::with({{0, 0, 255}, {0, 1, 10}, {63, 63, 128}});
    ASSERT_TRUE(w.transfer.sendScenes(scenes, w.events).ok());
    ASSERT_EQ(w.port.outputs.size(), 64u);
    for (int b = 0; b < 64; ++b) {
        const std::string& frame = w.port.outputs[static_cast<size_t>(b)];
        ASSERT_EQ(frame.size(), 143u);
        ASSERT_EQ(frame.substr(3, 2), "01");
        ASSERT_EQ(frame.substr(5, 137), WriteBlockCommand(b, scenes));
        ASSERT_TRUE(ReplyAccepted(frame)) << "check digits of block " << b;
    }
    EXPECT_EQ(w.port.outputs[0].substr(14, 4), "FF0A");
    EXPECT_EQ(w.port.outputs[63].substr(140, 2), "80");
    EXPECT_FALSE(w.port.PortOpen());
}

TEST(SendScenes, EveryLevelOutsideTheByteRangeIsNamedBeforeThePortOpens) {
    World w;
    SceneTable scenes = SceneTable::with({{0, 0, 256}, {12, 40, -1}, {63, 63, 32767}});
    scenes(63, 62) = 300;
    const TransferOutcome outcome = w.transfer.sendScenes(scenes, w.events);
    EXPECT_EQ(outcome.kind, TransferOutcome::Kind::LevelOutOfRange);
    // In send order: block by block, dimmer by dimmer.
    EXPECT_EQ(outcome.badLevels, (std::vector<LevelOutOfRange>{
                                     {0, 0, 256}, {12, 40, -1}, {63, 62, 300}, {63, 63, 32767}}));
    EXPECT_EQ(outcome.framesSent, 0);
    EXPECT_TRUE(w.port.calls.empty()) << "the port was touched";
}

TEST(TransferReport, ARefusedSendNamesTheFirstTenLevelsAndCountsTheRest) {
    TransferOutcome one;
    one.badLevels = {{2, 5, 300}};
    EXPECT_EQ(DescribeLevelOutOfRange(one),
              "Nothing was sent: Scene 03, Dimmer 02.2 holds level 300, which a controller cannot "
              "store (levels "
              "run from 0 to 255). Set that level in the editor, then send again.");
    TransferOutcome many;
    for (int s = 0; s < 13; ++s) many.badLevels.push_back({s, 0, -s - 1});
    const std::string text = DescribeLevelOutOfRange(many);
    EXPECT_EQ(
        text.rfind(
            "Nothing was sent: 13 levels lie outside 0 to 255, which a controller cannot store: "
            "Scene 01, Dimmer 01.1 holds level -1; Scene 02, Dimmer 01.1 holds level -2; ",
            0),
        0u)
        << text;
    EXPECT_NE(
        text.find(
            "Scene 10, Dimmer 01.1 holds level -10; and 3 more. Set those levels in the editor"),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("Scene 11"), std::string::npos) << text;
}

TEST(TransferReport, AttemptsAreSaidInPlainWordsRunTogether) {
    using A = AttemptResult;
    EXPECT_EQ(DescribeAttempts({A::NoAnswer, A::NoAnswer, A::NoAnswer}), "no answer (3 attempts)");
    EXPECT_EQ(DescribeAttempts({A::NoAnswer, A::WrongCheck, A::WrongCheck}),
              "no answer, then wrong check digits (2 attempts)");
    EXPECT_EQ(DescribeAttempts({A::TooShort, A::TooLate, A::NoAnswer}),
              "a reply too short, then a reply too late, then no answer");
    EXPECT_EQ(ProgressText(4), "Block: 05 Of 64");
    EXPECT_EQ(ProgressText(63), "Block: 64 Of 64");
}

TEST(TransferReport, ASendSaysWhetherAnythingReachedTheController) {
    TransferOutcome refusedAtOpen;
    refusedAtOpen.kind = TransferOutcome::Kind::PortFailed;
    EXPECT_EQ(DescribeSendConsequence(refusedAtOpen), "Nothing was sent.");
    TransferOutcome lostOnTheWay = refusedAtOpen;
    lostOnTheWay.framesSent = 7;
    EXPECT_EQ(DescribeSendConsequence(lostOnTheWay), "The controller may hold part of the show.");
}

}  // namespace
}  // namespace corvane
