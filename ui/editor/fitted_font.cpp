// A font shrunk, where it must be, until given texts fit a designed width.
#include "ui/editor/fitted_font.h"

#include <QFontMetrics>
#include <algorithm>

namespace corvane {
namespace {

constexpr qreal kSmallestPoints = 6.0;
constexpr qreal kStepPoints = 0.25;

int widest(const QFont& font, const QStringList& texts) {
    const QFontMetrics metrics(font);
    int w = 0;
    for (const QString& text : texts) w = std::max(w, metrics.horizontalAdvance(text));
    return w;
}

}  // namespace

QFont fittedFont(const QFont& font, const QStringList& texts, int width) {
    QFont fitted = font;
    if (fitted.pointSizeF() <= 0) return fitted;  // sized in pixels: left as it is
    while (widest(fitted, texts) > width && fitted.pointSizeF() - kStepPoints >= kSmallestPoints)
        fitted.setPointSizeF(fitted.pointSizeF() - kStepPoints);
    return fitted;
}

}  // namespace corvane
