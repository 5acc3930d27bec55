// A font shrunk, where it must be, until given texts fit a designed width.
#pragma once

#include <QFont>
#include <QStringList>

namespace corvane {

// The given font at the largest size, not above its own and not below 6 points, at which each
// text is at most width pixels wide. The grid is designed in pixels while the desktop picks the
// font, and a wide font would otherwise run the captions into the label borders.
QFont fittedFont(const QFont& font, const QStringList& texts, int width);

}  // namespace corvane
