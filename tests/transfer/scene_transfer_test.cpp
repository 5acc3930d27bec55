// Get and Send against a scripted line: the port set-up and closing, all-or-nothing Get, late
// replies, refusals before anything is sent, and the levels cut from a read reply.
#include "transfer/scene_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

#include "link/frame.h"
#include "link/hex.h"
#include "tests/support/fake_comm_control.h"

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
    for (int b = 0; b < 64; ++b)  // each block addressed by 64 bytes
        EXPECT_EQ(w.port.outputs[static_cast<size_t>(b)],
                  BuildRequestFrame(1, "397" + Hex4(b * 64) + "3F"));
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) ASSERT_EQ(scenes(s, d), (s + d) & 0xFF) << s << "," << d;
    std::vector<int> expected(64);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(w.progress, expected);
}

// Reported once, while the port is still open; then the port is closed, and a Get leaves the
// whole table as it was. Get and Send stop through the same steps.
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
        ASSERT_EQ(frame.substr(5, 9), "387" + Hex4(b * 64) + "3F");  // the block's address
        for (int d = 0; d < 64; ++d)                                 // then each dimmer's level
            ASSERT_EQ(frame.substr(14 + 2 * static_cast<size_t>(d), 2), Hex2(scenes(b, d)));
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

// A reply that comes after its attempt has run out of time, once the block has been answered on
// a retry, must not be taken for a later block's: read replies carry no address, so it would put
// one scene's levels into another without a word. Block 5's first reply comes 1200 ms late, past
// the 1000 ms limit; every other reply comes after 30 ms.
void AnswerWithBlock5sFirstReplyLate(World& w, const std::function<std::string(int)>& reply,
                                     int silentBlock = -1) {
    w.port.setResponder([&w, reply, silentBlock](const std::string& frame) {
        const int block = BlockOf(frame);
        if (block == silentBlock) return FakeCommControl::Reply{};
        const bool first = std::count(w.port.outputs.begin(), w.port.outputs.end(), frame) == 1;
        return FakeCommControl::Reply{{reply(block), block == 5 && first ? 1200 : 30}};
    });
}

TEST(LateReply, IsNotTakenForALaterBlocksLevels) {
    World w;
    AnswerWithBlock5sFirstReplyLate(w, ReadReply);
    SceneTable scenes;
    ASSERT_TRUE(w.transfer.getScenes(scenes, w.events).ok());
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) ASSERT_EQ(scenes(s, d), (s + d) & 0xFF) << s << "," << d;
    EXPECT_EQ(std::count(w.port.outputs.begin(), w.port.outputs.end(), "[A60139701403F]"), 2);
    // The retried block costs no more than a block that fails outright: three limits.
    EXPECT_LE(w.clock.now(), 63 * 30 + 3 * 1000);
}

TEST(LateReply, IsNotTakenForALaterBlocksAcknowledgement) {
    // Block 12's write goes unanswered; the late acknowledgement of block 5 must not stand in
    // for it.
    World w;
    AnswerWithBlock5sFirstReplyLate(
        w, [](int) { return std::string("{--}01"); }, 12);
    const TransferOutcome outcome = w.transfer.sendScenes(SceneTable{}, w.events);
    EXPECT_EQ(outcome.kind, TransferOutcome::Kind::BlockFailed);
    EXPECT_EQ(outcome.block, 12);
    EXPECT_EQ(w.port.outputs.size(), 12u + 1 + 3);  // blocks 0 to 11, block 5 twice, 12 thrice
}

TEST(BlockLevels, ReplyLevelsComeFromPositionFourOnEitherCase) {
    std::string digits;
    for (int d = 0; d < 64; ++d) digits += d == 0 ? "ff" : (d == 1 ? "0a" : "7F");
    SceneTable lower;
    SceneTransfer::copyBlockLevels("[00" + digits + "]", 3, lower);
    EXPECT_EQ(lower(3, 0), 255);
    EXPECT_EQ(lower(3, 1), 10);
    EXPECT_EQ(lower(3, 2), 0x7F);
    EXPECT_EQ(lower(3, 63), 0x7F);
    EXPECT_EQ(lower(2, 0), 0);  // other scenes untouched
}

TEST(BlockLevels, AShortReplyGivesWhatItsDigitsGive) {
    SceneTable t = SceneTable::with({{0, 0, 9}, {0, 1, 9}, {0, 2, 9}});
    SceneTransfer::copyBlockLevels("[00AB1", 0, t);  // dimmer 0 whole, dimmer 1 half, then nothing
    EXPECT_EQ(t(0, 0), 0xAB);
    EXPECT_EQ(t(0, 1), 1);
    EXPECT_EQ(t(0, 2), 0);
}

}  // namespace
}  // namespace corvane
