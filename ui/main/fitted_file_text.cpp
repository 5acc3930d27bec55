// The status label's " File: " text, shortened to fit its width.
#include "ui/main/fitted_file_text.h"

#include <algorithm>

namespace corvane {

QString FitFileText(const QString& prefix, const QString& path, const QFontMetrics& metrics,
                    int width) {
    QString whole = prefix + path;
    if (metrics.horizontalAdvance(whole) <= width) return whole;
    // Scene files come from either kind of path: "/shows/a.SCN" and "C:\Shows\a.SCN".
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const QString folder = path.left(cut);
    const QString name = path.mid(cut);
    const int room = width - metrics.horizontalAdvance(prefix + name);
    if (!folder.isEmpty() && room > 0) {
        // Empty when not even the ellipsis fits.
        const QString shortFolder = metrics.elidedText(folder, Qt::ElideMiddle, room);
        if (!shortFolder.isEmpty()) return prefix + shortFolder + name;
    }
    return prefix +
           metrics.elidedText(path, Qt::ElideMiddle, width - metrics.horizontalAdvance(prefix));
}

}  // namespace corvane
