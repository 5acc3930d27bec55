// The command text of the block write, and the levels cut from a read reply.
#include <gtest/gtest.h>

#include "transfer/scene_transfer.h"

namespace corvane {
namespace {

TEST(BlockCommands, WriteCarriesTheBlocksSixtyFourLevels) {
    EXPECT_EQ(WriteBlockCommand(0, SceneTable{}), "38700003F" + std::string(128, '0'));

    SceneTable t = SceneTable::with({{5, 0, 255}, {5, 1, 10}, {5, 63, 1}, {6, 0, 99}});
    const std::string text = WriteBlockCommand(5, t);
    EXPECT_EQ(text.substr(0, 9), "38701403F");
    EXPECT_EQ(text.substr(9, 4), "FF0A");  // dimmer 0, then dimmer 1
    EXPECT_EQ(text.substr(135, 2), "01");  // dimmer 63
    for (int block = 0; block < 64; ++block) ASSERT_EQ(WriteBlockCommand(block, t).size(), 137u);
}

TEST(BlockCommands, ReplyLevelsComeFromPositionFourOnEitherCase) {
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

TEST(BlockCommands, AShortReplyGivesWhatItsDigitsGive) {
    SceneTable t = SceneTable::with({{0, 0, 9}, {0, 1, 9}, {0, 2, 9}});
    SceneTransfer::copyBlockLevels("[00AB1", 0, t);  // dimmer 0 whole, dimmer 1 half, then nothing
    EXPECT_EQ(t(0, 0), 0xAB);
    EXPECT_EQ(t(0, 1), 1);
    EXPECT_EQ(t(0, 2), 0);
}

}  // namespace
}  // namespace corvane
