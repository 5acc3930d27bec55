// Request frames, the checksum and the reply test, checked against frames written out by hand.
#include "link/frame.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "link/hex.h"
#include "tests/link/link_lines.h"

namespace corvane {
namespace {

using namespace std::string_literals;
using testing_support::kBlockReply;

// An independent statement of the sum for building long test texts: rotate right, add, keep 8 bits.
int ReferenceSum(std::string_view text) {
    int s = 0xA5;
    for (const unsigned char c : text) s = ((((s & 1) << 7) | (s >> 1)) + c) & 0xFF;
    return s;
}

// "[" + check digits over body + body.
std::string Framed(const std::string& body) {
    return "[" + Hex2(static_cast<int16_t>(ReferenceSum(body))) + body;
}

TEST(RequestFrame, PassesTheReplyTestForEveryNode) {
    for (int node = 0; node <= 255; ++node) {
        const std::string frame =
            BuildRequestFrame(static_cast<int16_t>(node), "3870FC03F00FF7F80");
        EXPECT_TRUE(ReplyAccepted(frame)) << frame;
    }
}

TEST(RequestFrame, RefusesABodyLongerThanTheCodeArray) {
    const std::string fits(kCodeArraySize - 3, '0');  // node digits + command + "]" = 401
    EXPECT_EQ(BuildRequestFrame(1, fits), Framed("01" + fits + "]"));
    EXPECT_THROW(BuildRequestFrame(1, fits + "0"), std::length_error);
}

// The worked sum over the body "0139700003F]", one row per character: s after adding it.
TEST(FrameChecksum, FollowsTheWorkedStepsCharacterByCharacter) {
    const std::string body = "0139700003F]";
    const int afterAdding[] = {0x02, 0x32, 0x4C, 0x5F, 0xE6, 0xA3,
                               0x01, 0xB0, 0x88, 0x77, 0x01, 0xDD};
    CodeArray codes{};
    ASSERT_EQ(DxStrToArray(body, codes), 12);
    for (int count = 1; count <= 12; ++count)
        EXPECT_EQ(FrameChecksum(codes, 0, count), afterAdding[count - 1]) << "after " << count;
}

// An empty range gives the seed; a range reaching outside the array is cut to it.
TEST(FrameChecksum, EmptyRangeGivesTheSeedAndAnyRangeStaysInsideTheArray) {
    CodeArray codes{};
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<int16_t>(i & 0xFF);
    EXPECT_EQ(FrameChecksum(codes, 0, 0), 165);
    EXPECT_EQ(FrameChecksum(codes, 3, 3), 165);
    EXPECT_EQ(FrameChecksum(codes, 3, 1), 165);
    const int whole = FrameChecksum(codes, 0, kCodeArraySize);
    EXPECT_EQ(FrameChecksum(codes, 0, 100000), whole);
    EXPECT_EQ(FrameChecksum(codes, -50, kCodeArraySize), whole);
    EXPECT_EQ(FrameChecksum(codes, 500, 600), 165);
}

TEST(DxStrToArray, HoldsUnsignedCodesAndLeavesTheRestAlone) {
    CodeArray codes{};
    codes.fill(-7);
    const std::string text = "A\x00\x80\xff"s;
    EXPECT_EQ(DxStrToArray(text, codes), 4);
    EXPECT_EQ(std::vector<int16_t>(codes.begin(), codes.begin() + 5),
              (std::vector<int16_t>{0x41, 0, 128, 255, -7}));
    EXPECT_EQ(codes[400], -7);
}

TEST(DxStrToArray, ConvertsNoMoreThanTheArrayHolds) {
    struct Guarded {
        int16_t before[8];
        CodeArray codes;
        int16_t after[8];
    } g{};
    std::fill(std::begin(g.before), std::end(g.before), 0x1234);
    std::fill(std::begin(g.after), std::end(g.after), 0x1234);
    EXPECT_EQ(DxStrToArray(std::string(1000, 'Z'), g.codes), kCodeArraySize);
    EXPECT_EQ(g.codes[400], 'Z');
    for (const int16_t v : g.before) EXPECT_EQ(v, 0x1234);
    for (const int16_t v : g.after) EXPECT_EQ(v, 0x1234);
}

TEST(ReplyTest, DecidesByCheckDigitsOrAcknowledgement) {
    const struct {
        const char* what;
        std::string reply;
        bool accepted;
    } cases[] = {
        {"worked frame, block 0", "[DD0139700003F]", true},
        {"worked frame, block 1", "[9E0139700403F]", true},
        {"worked frame, block 63", "[F5023970FC03F]", true},
        {"block read reply, 132 characters", kBlockReply, true},
        {"lower-case check digits", "[dd0139700003F]", true},
        {"mixed-case check digits", "[dD0139700003F]", true},
        {"first character never examined", "XDD0139700003F]", true},
        {"three characters, A5", "[A5", true},
        {"three characters, a5", "[a5", true},
        {"acknowledgement alone", "{--}", true},
        {"acknowledgement with a wrong sum after it", "{--}0139700003F]", true},
        {"acknowledgement with garbage after it", "{--}\x00\xff\x80 junk"s, true},
        {"framed acknowledgement", "[7601]", true},
        {"non-hex check digits are 0 and match a zero sum", "[ZZ010129]", true},
        {"digit then non-hex is that digit", "[0Z010129]", true},
        {"wrong check digits", "[DE0139700003F]", false},
        {"non-hex first check digit", "[GD0139700003F]", false},
        {"non-hex second check digit", "[DG0139700003F]", false},
        {"dashes as check digits", "[--0139700003F]", false},
        {"framed acknowledgement with wrong check digits", "[7701]", false},
        {"body changed in one digit", "[DD0139700013F]", false},
        {"lower-case letter in the body", "[DD0139700003f]", false},
        {"empty reply", "", false},
        {"one character", "[", false},
        {"two characters", "[D", false},
        {"three characters, not A5", "[DD", false},
        {"three characters, one digit", "[A", false},
        {"cut short", "[DD0139700003", false},
        {"carriage return after the frame", "[DD0139700003F]\r", false},
        {"line feed after the frame", "[DD0139700003F]\n", false},
        {"block reply with two extra characters", kBlockReply + "00", false},
        {"block reply cut to 131", kBlockReply.substr(0, 131), false},
        {"garbage with NUL and high bytes", "\x00\xff\x80\x7f\x01\x02\x03\x04"s, false},
        {"acknowledgement with a wrong bracket", "{--]", false},
        {"acknowledgement cut short", "{--", false},
        {"acknowledgement not at the start", " {--}", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplyAccepted(c.reply), c.accepted) << c.what << ": \"" << c.reply << "\"";
}

TEST(ReplyTest, ReplyFillingTheArrayExactlyIsSummedWhole) {
    const std::string reply = Framed(std::string(kCodeArraySize - 3 - 1, '7') + "]");
    ASSERT_EQ(reply.size(), static_cast<size_t>(kCodeArraySize));
    EXPECT_TRUE(ReplyAccepted(reply));
}

TEST(ReplyTest, ReplyLongerThanTheArrayFailsUnlessAcknowledged) {
    // Check digits right over every character: still refused, the array cannot hold them all.
    const std::string whole = Framed(std::string(kCodeArraySize - 3, '7') + "]");
    ASSERT_EQ(whole.size(), static_cast<size_t>(kCodeArraySize + 1));
    EXPECT_FALSE(ReplyAccepted(whole));
    // Check digits right over the first 401 only: a tail that nothing vouches for.
    std::string head = Framed(std::string(kCodeArraySize - 3, '7'));
    head += "]";
    EXPECT_FALSE(ReplyAccepted(head));
    EXPECT_TRUE(ReplyAccepted("{--}" + std::string(5000, 'x')));
}

TEST(ReplyTest, RefillsTheTransactionArrayOnlyUpToTheReply) {
    CodeArray codes{};
    codes.fill(-1);
    EXPECT_TRUE(ReplyAccepted("[A5", codes));
    EXPECT_EQ(codes[0], '[');
    EXPECT_EQ(codes[2], '5');
    EXPECT_EQ(codes[3], -1);
}

}  // namespace
}  // namespace corvane
