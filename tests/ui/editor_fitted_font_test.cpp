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

TEST(FittedFont, KeepsAFontWhoseTextsFit) {
    const QFont f = fittedFont(eightPoint(), {"0%", "1%"}, 200);
    EXPECT_EQ(f.pointSizeF(), 8);
}

TEST(FittedFont, ShrinksUntilTheWidestTextFits) {
    const int natural = QFontMetrics(eightPoint()).horizontalAdvance("Dimmer 0F.4");
    const int width = natural * 9 / 10;
    const QFont f = fittedFont(eightPoint(), {"0%", "Dimmer 0F.4"}, width);
    EXPECT_LT(f.pointSizeF(), 8);
    EXPECT_GT(f.pointSizeF(), 6);
    EXPECT_LE(QFontMetrics(f).horizontalAdvance("Dimmer 0F.4"), width);
}

TEST(FittedFont, StopsAtSixPointsWhenNothingFits) {
    const QFont f = fittedFont(eightPoint(), {"Dimmer 0F.4"}, 1);
    EXPECT_EQ(f.pointSizeF(), 6);
}

}  // namespace
}  // namespace corvane
