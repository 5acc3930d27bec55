// Clipboard text and typed percents for the scene grid.
#include "ui/grid/clipboard_text.h"

#include "document/scene_names.h"
#include "scale/level_scale.h"

namespace corvane {

QString CellName(int scene, int dimmer) {
    return QStringLiteral("Scene %1, %2")
        .arg(QString::fromStdString(SceneNumberText(scene)),
             QString::fromStdString(DimmerName(dimmer)));
}

std::optional<int16_t> TypedLevel(const QString& text) {
    QString t = text.trimmed();
    if (t.endsWith(QLatin1Char('%'))) t = t.chopped(1).trimmed();
    // Digits only: a sign, a fraction or an exponent is no entry of the chooser.
    if (t.isEmpty() || t.size() > 3) return std::nullopt;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int percent = t.toInt();
    if (percent > 100) return std::nullopt;
    return PcntToLvl(static_cast<int16_t>(percent));
}

QString CopyText(const SceneTable& scenes, const QRect& cells) {
    QString text;
    for (int s = cells.top(); s <= cells.bottom(); ++s) {
        for (int d = cells.left(); d <= cells.right(); ++d) {
            if (d != cells.left()) text += QLatin1Char('\t');
            const int16_t level = scenes(s, d);
            text +=
                level < 0 || level > 255 ? QStringLiteral("?") : QString::number(*LvlToPcnt(level));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

std::vector<QStringList> PastedRows(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    std::vector<QStringList> rows;
    if (t.isEmpty()) return rows;
    for (const QString& line : t.split(QLatin1Char('\n')))
        rows.push_back(line.split(QLatin1Char('\t')));
    return rows;
}

std::variant<std::vector<LevelChange>, PasteRefusal> PlaceBlock(
    const std::vector<QStringList>& rows, int scene, int dimmer) {
    std::vector<LevelChange> levels;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const int s = scene + r;
            const int d = dimmer + c;
            if (s >= kSceneCount || d >= kDimmerCount) return PasteRefusal{r + 1, c + 1, true, {}};
            const std::optional<int16_t> level = TypedLevel(rows[r][c]);
            if (!level) return PasteRefusal{r + 1, c + 1, false, rows[r][c]};
            levels.push_back({s, d, *level});
        }
    }
    return levels;
}

}  // namespace corvane
