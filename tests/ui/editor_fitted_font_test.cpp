// Shrinking the grid font only as far as the captions need.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ui/editor/fitted_font.h"

namespace corvane {
namespace {

QFont eightPoint() {
    QFont f;
    f.setPointSizeF(8);
    return f;
}

TEST(FittedFont, KeepsAFontThatFitsAndElseShrinksUntilTheWidestTextFitsButNotBelowSixPoints) {
    EXPECT_EQ(fittedFont(eightPoint(), {"0%", "1%"}, 200).pointSizeF(), 8);

    const int natural = QFontMetrics(eightPoint()).horizontalAdvance("Dimmer 0F.4");
    const int width = natural * 9 / 10;
    const QFont f = fittedFont(eightPoint(), {"0%", "Dimmer 0F.4"}, width);
    EXPECT_LT(f.pointSizeF(), 8);
    EXPECT_GT(f.pointSizeF(), 6);
    EXPECT_LE(QFontMetrics(f).horizontalAdvance("Dimmer 0F.4"), width);

    EXPECT_EQ(fittedFont(eightPoint(), {"Dimmer 0F.4"}, 1).pointSizeF(), 6);
}

}  // namespace
}  // namespace corvane
