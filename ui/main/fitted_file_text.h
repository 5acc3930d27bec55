// The status label's " File: " text, shortened to fit its width.
#pragma once

#include <QFontMetrics>
#include <QString>

namespace corvane {

// prefix + path when it fits in width pixels. Otherwise the folder is shortened in the middle
// ("/tmp/very lo…ring tour/rehearsal.SCN") so that the prefix and the file's own name stay whole;
// a name too long even for that loses its own middle.
QString FitFileText(const QString& prefix, const QString& path, const QFontMetrics& metrics,
                    int width);

}  // namespace corvane
