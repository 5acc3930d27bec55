// A reply that comes after its attempt has run out of time, once the block has been answered on a
// retry: it must not be taken for the reply to a later block. Read replies carry no address, so
// taken for a later block's it would put one scene's levels into another without a word.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "link/frame.h"
#include "link/hex.h"
#include "tests/support/scripted_connection.h"

namespace corvane {
namespace {

using testing_support::FakeCommControl;

constexpr int kLateBlock = 5;
constexpr int64_t kLateMs = 1200;  // past the 1000 ms limit of an attempt
constexpr int64_t kAnswerMs = 30;  // every other reply
constexpr int64_t kLimitMs = 1000;

int Level(int block, int d) {
    return (block * 37 + d * 3 + 11) & 0xFF;
}

// The read reply of a controller whose block b holds Level(b, d) at byte d.
std::string ReadReply(int block) {
    std::string body;
    for (int d = 0; d < 64; ++d) body += Hex2(static_cast<int16_t>(Level(block, d)));
    body += "]";
    CodeArray codes{};
    const std::string probe = "[00" + body;
    return "[" + Hex2(FrameChecksum(codes, 3, DxStrToArray(probe, codes))) + body;
}

// "[cc01" "397" aaaa "3F]" and "[cc01" "387" aaaa "3F" ...: the block from the address digits.
int BlockOf(const std::string& frame) {
    return HexVal(frame.substr(8, 2)) * 4 + HexVal(frame.substr(10, 2)) / 64;
}

struct ScriptedLine : testing_support::ScriptedConnection {
    std::map<int, int> frames;  // per block

    // The late block's first reply comes too late, its second at once; every other block answers
    // (with reply) after kAnswerMs, except silentBlock, which never answers.
    void script(const std::function<std::string(int)>& reply, int silentBlock = -1) {
        port->setResponder([this, reply, silentBlock](const std::string& frame) {
            const int block = BlockOf(frame);
            const int n = ++frames[block];
            if (block == silentBlock) return FakeCommControl::Reply{};
            if (block == kLateBlock && n == 1)
                return FakeCommControl::Reply{{reply(block), kLateMs}};
            return FakeCommControl::Reply{{reply(block), kAnswerMs}};
        });
    }
};

TEST(LateReply, IsNotTakenForALaterBlocksLevels) {
    ScriptedLine line;
    line.script(ReadReply);
    SceneTable scenes;
    ASSERT_TRUE(line.connection->getScenes(scenes, {}).ok());
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d)
            ASSERT_EQ(scenes(s, d), Level(s, d)) << "scene " << s + 1 << ", dimmer " << d + 1;
    EXPECT_EQ(line.frames[kLateBlock], 2);
    // The retried block costs no more than a block that fails outright: three limits.
    EXPECT_LE(line.clock->now(), 63 * kAnswerMs + 3 * kLimitMs);
}

TEST(LateReply, IsNotTakenForALaterBlocksAcknowledgement) {
    // Block 12's write goes unanswered; the late acknowledgement of block 5 must not stand in
    // for its.
    ScriptedLine line;
    line.script([](int) { return std::string("{--}01"); }, 12);
    const TransferOutcome outcome = line.connection->sendScenes(SceneTable{}, {});
    EXPECT_EQ(outcome.kind, TransferOutcome::Kind::BlockFailed);
    EXPECT_EQ(outcome.block, 12);
    EXPECT_EQ(line.frames[12], 3);
}

}  // namespace
}  // namespace corvane
