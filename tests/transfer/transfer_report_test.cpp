// The words for what went wrong in a transfer.
#include "transfer/transfer_report.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TransferReport, ARefusedSendNamesTheFirstTenLevelsAndCountsTheRest) {
    TransferOutcome one;
    one.badLevels = {{2, 5, 300}};
    EXPECT_EQ(DescribeLevelOutOfRange(one),
              "Nothing was sent: Scene 03, Dimmer 02.2 holds level 300, which a controller cannot "
              "store (levels run from 0 to 255). Set that level in the editor, then send again.");
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
}

}  // namespace
}  // namespace corvane
