// The simulated controller's answers to every kind of request, as one table of exchanges.
#include "sim/controller_engine.h"

#include <gtest/gtest.h>

#include "link/frame.h"
#include "link/hex.h"
#include "tests/sim/sim_test_support.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;

// Data digits of the known memory's blocks, written out.
const std::string kBlock5 =
    "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F"
    "202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F";
const std::string kBlock63Lower =
    "c0c1c2c3c4c5c6c7c8c9cacbcccdcecfd0d1d2d3d4d5d6d7d8d9dadbdcdddedf"
    "e0e1e2e3e4e5e6e7e8e9eaebecedeeeff0f1f2f3f4f5f6f7f8f9fafbfcfdfeff";
// Levels 3 * d, as written to block 7 below.
const std::string kTriples =
    "000306090C0F1215181B1E2124272A2D303336393C3F4245484B4E5154575A5D"
    "606366696C6F7275787B7E8184878A8D909396999C9FA2A5A8ABAEB1B4B7BABD";

// Requests: "[" check digits, node, command, "]".
const std::string kReadBlock5 = "[A60139701403F]";                   // node 01, read 0x0140
const std::string kWriteBlock7 = "[CF0138701C03F" + kTriples + "]";  // node 01, write 0x01C0
const std::string kReadBlock7 = "[970139701C03F]";

// Replies: "[" check digits over the data and "]", 128 data digits, "]".
const std::string kReply0BadSum = "[6B" + kZeros + "]";
const std::string kReply5 = "[B0" + kBlock5 + "]";
const std::string kReply63Lower = "[f5" + kBlock63Lower + "]";
const std::string kReply7 = "[D3" + kTriples + "]";
const std::string kNoise("\xFF\x00\xF0", 3);

struct Step {
    std::string input;
    std::vector<Action> answer;
    std::optional<Verdict> verdict;  // of the last frame the input completes, if any
};
// A step: what is fed, what the engine sends for it, and how it judged the last frame.
Step S(std::string input, std::vector<Action> answer = {},
       std::optional<Verdict> verdict = Verdict::Served) {
    return Step{std::move(input), std::move(answer), verdict};
}

struct EngineCase {
    const char* name;
    EngineOptions options;
    std::vector<Fault> faults;
    std::vector<Step> steps;
};

EngineOptions Node(int16_t node) {
    return EngineOptions{.node = node};
}
EngineOptions Lower() {
    return EngineOptions{.lowerCase = true};
}
EngineOptions FramedAck(bool lower = false) {
    return EngineOptions{.lowerCase = lower, .ack = AckStyle::Framed};
}
EngineCase Case(const char* name, EngineOptions options, std::vector<Fault> faults,
                std::vector<Step> steps) {
    return EngineCase{name, options, std::move(faults), std::move(steps)};
}
Fault F(int block, FaultKind kind, int count = 1, Direction dir = Direction::Any) {
    return Fault{block, kind, count, dir};
}

TEST(ControllerEngine, AnswersEachKindOfRequestAsTheTableSays) {
    const std::string writeFE = "[2AFE38700003F" + kZeros + "]";  // node FE, write 0x0000
    const EngineCase cases[] = {
        // Reads answer with the block's 64 bytes framed, upper case unless told otherwise.
        Case("ReadBlock0", {}, {}, {S(kReadBlock0, {Send(kReply0)})}),
        Case("ReadBlock5", {}, {}, {S(kReadBlock5, {Send(kReply5)})}),
        Case("ReadBlock63", {}, {}, {S(kReadBlock63, {Send(kReply63)})}),
        Case("ReadLowerCase", Lower(), {}, {S(kReadBlock63, {Send(kReply63Lower)})}),
        Case("NodeTwo", Node(2), {}, {S("[F5023970FC03F]", {Send(kReply63)})}),
        Case("NodeFE", Node(254), {}, {S("[2CFE39700003F]", {Send(kReply0)})}),
        Case("LowerCaseCheckDigitsInRequest", {}, {}, {S("[dd0139700003F]", {Send(kReply0)})}),
        // Writes are stored, acknowledged, and read back.
        Case("WriteThenReadBack", {}, {},
             {S(kWriteBlock7, {Send("{--}01")}), S(kReadBlock7, {Send(kReply7)})}),
        Case("AckNamesNodeFE", Node(254), {}, {S(writeFE, {Send("{--}FE")})}),
        Case("AckFramed", FramedAck(), {}, {S(kWriteBlock0Zeros, {Send("[7601]")})}),
        Case("AckFramedLowerNodeFE",
             EngineOptions{.node = 254, .lowerCase = true, .ack = AckStyle::Framed}, {},
             {S(writeFE, {Send("[1dfe]")})}),
        // What a controller ignores.
        Case("OtherNode", {}, {}, {S("[F5023970FC03F]", {}, Verdict::OtherNode)}),
        Case("NodeZero", {}, {}, {S("[140039700003F]", {}, Verdict::OtherNode)}),
        Case("WrongCheckDigits", {}, {}, {S("[DE0139700003F]", {}, Verdict::BadChecksum)}),
        Case("NonHexCheckDigits", {}, {}, {S("[D?0139700003F]", {}, Verdict::BadChecksum)}),
        Case("BodyAltered", {}, {}, {S("[DD0139700403F]", {}, Verdict::BadChecksum)}),
        Case("UnknownCommand", {}, {}, {S("[530139800003F]", {}, Verdict::UnknownCommand)}),
        Case("AddressNotBlockStart", {}, {}, {S("[FD0139700013F]", {}, Verdict::BadArguments)}),
        Case("AddressPastMemory", {}, {}, {S("[E90139710003F]", {}, Verdict::BadArguments)}),
        Case("CountNotWholeBlock", {}, {}, {S("[5D0139700001F]", {}, Verdict::BadArguments)}),
        Case("WriteDataShort", {}, {},
             {S("[4F0138700003F" + std::string(126, '0') + "]", {}, Verdict::BadArguments)}),
        Case("WriteDataNotHex", {}, {},
             {S("[C30138700003F" + std::string(126, '0') + "G0]", {}, Verdict::BadArguments)}),
        Case("TooShortForFrame", {}, {}, {S("[DD]", {}, Verdict::Malformed)}),
        // Noise between frames, frames cut off, frames split across arrivals.
        Case("NoiseAroundFrame", {}, {}, {S("\x01~xyz]]" + kReadBlock0 + "\r\n", {Send(kReply0)})}),
        Case("CutOffFrameRestarts", {}, {}, {S("[DD01397" + kReadBlock0, {Send(kReply0)})}),
        Case("SplitFrame", {}, {},
             {S("[DD013970", {}, std::nullopt), S("0003F]", {Send(kReply0)})}),
        Case("TwoFramesAtOnce", {}, {},
             {S(kReadBlock0 + kReadBlock5, {Send(kReply0), Send(kReply5)})}),
        Case("OverlongFrameDropped", {}, {},
             {S("[" + std::string(500, '0') + "]" + kReadBlock0, {Send(kReply0)})}),
        // Faults, each with its count, then the block is answered again.
        Case("DropTwice", {}, {F(0, FaultKind::Drop, 2)},
             {S(kReadBlock0), S(kReadBlock0), S(kReadBlock0, {Send(kReply0)})}),
        Case("DropAlways", {}, {F(0, FaultKind::Drop, kAlways)},
             {S(kReadBlock0), S(kReadBlock0), S(kReadBlock0)}),
        Case("BadSumOnce", {}, {F(0, FaultKind::BadSum)},
             {S(kReadBlock0, {Send(kReply0BadSum)}), S(kReadBlock0, {Send(kReply0)})}),
        Case("BadSumOnPlainAckSendsItFramed", {}, {F(0, FaultKind::BadSum)},
             {S(kWriteBlock0Zeros, {Send("[7701]")}), S(kWriteBlock0Zeros, {Send("{--}01")})}),
        Case("ShortOnce", {}, {F(0, FaultKind::Short)},
             {S(kReadBlock0, {Send("[6A" + kZeros)}), S(kReadBlock0, {Send(kReply0)})}),
        Case("ShortAck", {}, {F(0, FaultKind::Short)}, {S(kWriteBlock0Zeros, {Send("{--}0")})}),
        Case("LateDefault", {}, {F(0, FaultKind::Late)},
             {S(kReadBlock0, {Send(kReply0, 1200ms)}), S(kReadBlock0, {Send(kReply0)})}),
        Case("LateConfigured", EngineOptions{.lateDelay = 300ms}, {F(0, FaultKind::Late)},
             {S(kReadBlock0, {Send(kReply0, 300ms)})}),
        Case("ExtraOnce", {}, {F(0, FaultKind::Extra)},
             {S(kReadBlock0, {Send(kReply0 + "\r\n")}), S(kReadBlock0, {Send(kReply0)})}),
        Case("ExtraAfterAck", {}, {F(0, FaultKind::Extra)},
             {S(kWriteBlock0Zeros, {Send("{--}01\r\n")})}),
        Case("NoiseOnce", {}, {F(0, FaultKind::Noise)},
             {S(kReadBlock0, {Send(kNoise + kReply0)}), S(kReadBlock0, {Send(kReply0)})}),
        Case("CloseThenDeaf", {}, {F(0, FaultKind::Close)},
             {S(kReadBlock0, {CloseLine()}), S(kReadBlock0, {}, Verdict::LineClosed)}),
        Case("FaultOnlyOnItsBlock", {}, {F(5, FaultKind::Drop)},
             {S(kReadBlock0, {Send(kReply0)}), S(kReadBlock5), S(kReadBlock5, {Send(kReply5)})}),
        Case("FaultOnlyInItsDirection", {}, {F(0, FaultKind::Drop, 1, Direction::Write)},
             {S(kReadBlock0, {Send(kReply0)}), S(kWriteBlock0Zeros),
              S(kWriteBlock0Zeros, {Send("{--}01")})}),
        Case("FaultsInTurn", {}, {F(0, FaultKind::Drop), F(0, FaultKind::BadSum)},
             {S(kReadBlock0), S(kReadBlock0, {Send(kReply0BadSum)}),
              S(kReadBlock0, {Send(kReply0)})}),
        Case("IgnoredFramesSpendNoFault", {}, {F(0, FaultKind::Drop)},
             {S("[DE0139700003F]", {}, Verdict::BadChecksum), S(kReadBlock0),
              S(kReadBlock0, {Send(kReply0)})}),
    };
    for (const EngineCase& c : cases) {
        ControllerEngine engine = KnownEngine(c.options);
        for (const Fault& f : c.faults) engine.faults().add(f);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(i) + ": " +
                         Visible(step.input));
            EXPECT_EQ(engine.feed(step.input), step.answer);
            if (!step.verdict) {
                EXPECT_TRUE(engine.requests().empty());
                continue;
            }
            ASSERT_FALSE(engine.requests().empty());
            EXPECT_EQ(VerdictName(engine.requests().back().verdict), VerdictName(*step.verdict));
        }
    }
}

// A write is stored when whole, even if its acknowledgement is lost; a refused write or one whose
// line closes leaves the memory as it was.
TEST(ControllerEngine, StoresOnlyWholeWritesWhateverBecomesOfTheAcknowledgement) {
    ControllerEngine lost;
    lost.faults().add(F(7, FaultKind::Drop));
    EXPECT_TRUE(lost.feed(kWriteBlock7).empty());
    EXPECT_EQ(lost.memory()[7][1], 3);
    EXPECT_EQ(lost.memory()[7][63], 189);

    ControllerEngine closed = KnownEngine();
    closed.faults().add(F(7, FaultKind::Close));
    closed.feed(kWriteBlock7);
    EXPECT_EQ(closed.memory(), KnownMemory());
    EXPECT_TRUE(closed.lineClosed());

    ControllerEngine refused = KnownEngine();
    refused.feed("[C30138700003F" + std::string(126, '0') + "G0]");
    refused.feed("[4F0138700003F" + std::string(126, '0') + "]");
    EXPECT_EQ(refused.memory(), KnownMemory());
}

TEST(ControllerEngine, RecordsEveryFrameAsItArrived) {
    ControllerEngine engine;
    engine.faults().add(F(5, FaultKind::BadSum, 2));
    engine.feed("noise" + kReadBlock5 + kReadBlock5 + "[F5023970FC03F]" + kReadBlock5);
    const auto& r = engine.requests();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].frame, kReadBlock5);
    EXPECT_EQ(r[0].block, 5);
    EXPECT_EQ(r[0].direction, Direction::Read);
    EXPECT_EQ(r[0].fault, FaultKind::BadSum);
    EXPECT_EQ(r[1].fault, FaultKind::BadSum);
    EXPECT_EQ(r[2].frame, "[F5023970FC03F]");
    EXPECT_EQ(r[2].verdict, Verdict::OtherNode);
    EXPECT_EQ(r[3].fault, std::nullopt);
}

TEST(ControllerEngine, SeveralNodesShareTheLineEachWithItsOwnMemory) {
    ControllerEngine engine = KnownEngine(Node(3));
    engine.addNode(17, SceneMemory{});
    engine.faults().add({5, FaultKind::Drop, kAlways, Direction::Any, 3});
    EXPECT_EQ(engine.nodes(), (std::vector<int16_t>{3, 17}));

    const std::string read5 = "397" + Hex4(5 * kBlockSize) + "3F";
    EXPECT_TRUE(engine.feed(BuildRequestFrame(3, read5)).empty()) << "the fault is node 3's";
    EXPECT_EQ(engine.feed(BuildRequestFrame(17, read5)),
              (std::vector<Action>{Send("[6A" + kZeros + "]")}));
    EXPECT_TRUE(engine.feed(BuildRequestFrame(4, read5)).empty()) << "no controller at node 4";
    EXPECT_EQ(engine.requests().back().verdict, Verdict::OtherNode);
    EXPECT_EQ(engine.requests().back().node, 4);

    // A write reaches only the node it names, and is acknowledged with that node's digits.
    const std::string write7 = kWriteBlock7.substr(5, kWriteBlock7.size() - 6);
    EXPECT_EQ(engine.feed(BuildRequestFrame(17, write7)), (std::vector<Action>{Send("{--}11")}));
    EXPECT_EQ(engine.memory(17)[7][1], 3);
    EXPECT_EQ(engine.memory(3), KnownMemory());
}

TEST(ControllerEngine, KeepsABoundedRecordOfRequests) {
    ControllerEngine engine;
    for (size_t i = 0; i < kRequestsKept + 10; ++i) engine.feed(kReadBlock0);
    EXPECT_EQ(engine.requests().size(), kRequestsKept);
    EXPECT_EQ(engine.requestCount(), kRequestsKept + 10);
}

// The simulator is only useful if what it sends as right passes the tool's own reply test and
// what it sends as wrong fails it, for every block of a show with every kind of level.
TEST(ControllerEngine, RepliesPassAndSpoiledRepliesFailTheToolsTest) {
    for (const EngineOptions& options :
         {EngineOptions{}, Lower(), FramedAck(), FramedAck(true), Node(254)}) {
        ControllerEngine engine(options);
        SceneMemory memory{};
        for (int s = 0; s < kBlockCount; ++s)
            for (int d = 0; d < kBlockSize; ++d)
                memory[s][d] = static_cast<uint8_t>(s * 67 + d * 13 + s * d);
        engine.setMemory(memory);
        for (int s = 0; s < kBlockCount; ++s) {
            SCOPED_TRACE("block " + std::to_string(s));
            ASSERT_TRUE(ReplyAccepted(engine.readReply(s)));
            for (FaultKind kind : {FaultKind::BadSum, FaultKind::Extra, FaultKind::Noise}) {
                engine.faults().add(F(s, kind));
                const std::string read = "397" + Hex4(s * kBlockSize) + "3F";
                const std::vector<Action> a = engine.feed(BuildRequestFrame(options.node, read));
                ASSERT_EQ(a.size(), 1u);
                EXPECT_FALSE(ReplyAccepted(a[0].bytes))
                    << FaultKindName(kind) << ": " << Visible(a[0].bytes);
            }
        }
        EXPECT_TRUE(ReplyAccepted(engine.acknowledgement()));
        EXPECT_EQ(engine.acknowledgement().size(), 6u);
    }
}

}  // namespace
}  // namespace corvane::sim
