// A whole show in one picture, drawn with Qt's own painter on an image.
#include "cli/show_picture.h"

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <array>
#include <string>

#include "cli/scene_printing.h"
#include "document/scene_names.h"
#include "scale/level_scale.h"

namespace corvane::cli {
namespace {

// The layout, in pixels. Cells are 13 pixels with a 1-pixel line between them; a wider line
// parts the dimmers in their groups of four and the scenes in blocks of eight, so a cell is
// found by counting groups, not single cells.
constexpr int kMargin = 16;
constexpr int kCellSize = 13;
constexpr int kCellPitch = 14;
constexpr int kGroupGap = 3;
constexpr int kDimmersPerGroup = 4;
constexpr int kScenesPerBlock = 8;
constexpr int kHeaderHeight = 66;
constexpr int kSceneLabelWidth = 70;
constexpr int kDimmerLabelHeight = 78;
constexpr int kLabelGap = 5;
constexpr int kLegendGap = 14;
constexpr int kBarHeight = 16;
constexpr int kBarPixelsPerLevel = 2;
constexpr int kLegendHeight = 50;

constexpr int kGridLeft = kMargin + kSceneLabelWidth + kLabelGap;
constexpr int kGridTop = kMargin + kHeaderHeight + kDimmerLabelHeight + kLabelGap;
constexpr int kGridWidth =
    kDimmerCount * kCellPitch - 1 + (kDimmerCount / kDimmersPerGroup - 1) * kGroupGap;
constexpr int kGridHeight =
    kSceneCount * kCellPitch - 1 + (kSceneCount / kScenesPerBlock - 1) * kGroupGap;
constexpr int kGridBottom = kGridTop + kGridHeight;
constexpr int kGridRight = kGridLeft + kGridWidth;
constexpr int kLegendTop = kGridBottom + kLabelGap + kDimmerLabelHeight + kLegendGap;
constexpr int kWidth = kGridRight + kLabelGap + kSceneLabelWidth + kMargin;
constexpr int kHeight = kLegendTop + kLegendHeight + kMargin;

constexpr QRgb kPaper = qRgb(255, 255, 255);
constexpr QRgb kInk = qRgb(32, 32, 32);
constexpr QRgb kLines = qRgb(72, 84, 104);

constexpr int cellLeft(int dimmer) {
    return kGridLeft + dimmer * kCellPitch + dimmer / kDimmersPerGroup * kGroupGap;
}

constexpr int cellTop(int scene) {
    return kGridTop + scene * kCellPitch + scene / kScenesPerBlock * kGroupGap;
}

bool outsideScale(int16_t level) {
    return level < 0 || level > 255;
}

QFont font(int pixels, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string outsideSentence(int count) {
    return std::to_string(count) + (count == 1 ? " level is" : " levels are") +
           " outside 0 to 255, which no controller holds.";
}

// What one picture shows: the title, the caption's lines, each cell's colour, and the legend's
// scale (full or dimmed) with its name.
struct Picture {
    QString title;
    QStringList caption;
    std::array<QRgb, kLevelCount> cells{};
    bool difference = false;
    bool outside = false;  // some level lies outside 0 to 255: the legend names its colour
};

void drawLabels(QPainter& p) {
    p.setFont(font(11));
    for (int s = 0; s < kSceneCount; ++s) {
        const QString name = qs("Scene: " + SceneNumberText(s));
        const int top = cellTop(s) - 1;
        p.drawText(QRect(kMargin, top, kSceneLabelWidth, kCellPitch + 1),
                   Qt::AlignRight | Qt::AlignVCenter, name);
        p.drawText(QRect(kGridRight + kLabelGap, top, kSceneLabelWidth, kCellPitch + 1),
                   Qt::AlignLeft | Qt::AlignVCenter, name);
    }
    // Dimmer names run upwards, above and below their column, starting at the grid.
    for (int d = 0; d < kDimmerCount; ++d) {
        const QString name = qs(DimmerName(d));
        const int centre = cellLeft(d) + kCellSize / 2;
        for (const bool above : {true, false}) {
            p.save();
            p.translate(centre, above ? kGridTop - kLabelGap : kGridBottom + kLabelGap);
            p.rotate(-90);
            if (above) {
                p.drawText(QRect(0, -kCellPitch / 2, kDimmerLabelHeight, kCellPitch),
                           Qt::AlignLeft | Qt::AlignVCenter, name);
            } else {
                p.drawText(
                    QRect(-kDimmerLabelHeight, -kCellPitch / 2, kDimmerLabelHeight, kCellPitch),
                    Qt::AlignRight | Qt::AlignVCenter, name);
            }
            p.restore();
        }
    }
}

void drawLegend(QPainter& p, const Picture& picture) {
    const bool difference = picture.difference;
    const int barWidth = 256 * kBarPixelsPerLevel;
    p.fillRect(kGridLeft - 1, kLegendTop - 1, barWidth + 2, kBarHeight + 2, QColor(kLines));
    for (int level = 0; level <= 255; ++level) {
        const auto l = static_cast<int16_t>(level);
        p.fillRect(kGridLeft + level * kBarPixelsPerLevel, kLegendTop, kBarPixelsPerLevel,
                   kBarHeight, QColor(difference ? DimmedLevelColour(l) : LevelColour(l)));
    }
    p.setFont(font(11));
    p.drawText(QRect(kMargin, kLegendTop, kSceneLabelWidth, kBarHeight),
               Qt::AlignRight | Qt::AlignVCenter,
               difference ? QStringLiteral("Equal level") : QStringLiteral("Level"));
    // The percentages as the editor shows them, under the levels they stand for.
    for (const int percent : {0, 25, 50, 75, 100}) {
        const int16_t level = PcntToLvl(static_cast<int16_t>(percent)).value_or(0);
        const int x = kGridLeft + level * kBarPixelsPerLevel + kBarPixelsPerLevel / 2;
        p.drawLine(x, kLegendTop + kBarHeight + 1, x, kLegendTop + kBarHeight + 4);
        p.drawText(QRect(x - 30, kLegendTop + kBarHeight + 5, 60, 16), Qt::AlignCenter,
                   qs(LevelText(level)));
    }
    int x = kGridLeft + barWidth + 40;
    const auto swatch = [&](QRgb colour, const QString& meaning) {
        p.fillRect(x - 1, kLegendTop + 1, kCellSize + 2, kCellSize + 2, QColor(kLines));
        p.fillRect(x, kLegendTop + 2, kCellSize, kCellSize, QColor(colour));
        const QRect box(x + kCellSize + 6, kLegendTop, 200, kBarHeight);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, meaning);
        x += kCellSize + 6 + p.fontMetrics().horizontalAdvance(meaning) + 24;
    };
    if (difference) swatch(kDifferenceColour, QStringLiteral("differs"));
    if (picture.outside) swatch(kOutsideColour, QStringLiteral("outside 0 to 255"));
}

QImage draw(const Picture& picture) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setPen(QColor(kInk));
    p.setFont(font(16, true));
    p.drawText(QRect(kMargin, kMargin, kWidth - 2 * kMargin, 22), Qt::AlignLeft | Qt::AlignVCenter,
               picture.title);
    p.setFont(font(13));
    for (int i = 0; i < picture.caption.size(); ++i) {
        p.drawText(QRect(kMargin, kMargin + 26 + 18 * i, kWidth - 2 * kMargin, 18),
                   Qt::AlignLeft | Qt::AlignVCenter, picture.caption.at(i));
    }
    p.fillRect(kGridLeft - 1, kGridTop - 1, kGridWidth + 2, kGridHeight + 2, QColor(kLines));
    for (int s = 0; s < kSceneCount; ++s) {
        for (int d = 0; d < kDimmerCount; ++d) {
            p.fillRect(cellLeft(d), cellTop(s), kCellSize, kCellSize,
                       QColor(picture.cells.at(static_cast<size_t>(SceneTable::index(s, d)))));
        }
    }
    drawLabels(p);
    drawLegend(p, picture);
    p.end();
    image.setText(QStringLiteral("Title"), picture.title);
    image.setText(QStringLiteral("Description"), picture.caption.join(' '));
    return image;
}

}  // namespace

QRgb LevelColour(int16_t level) {
    if (outsideScale(level)) return kOutsideColour;
    return qRgb(level, level, level);
}

QRgb DimmedLevelColour(int16_t level) {
    if (outsideScale(level)) return kOutsideColour;
    const int grey = level * 3 / 8;
    return qRgb(grey, grey, grey);
}

QPoint CellCentre(int scene, int dimmer) {
    return {cellLeft(dimmer) + kCellSize / 2, cellTop(scene) + kCellSize / 2};
}

QImage DrawShow(const SceneTable& table, const QString& name) {
    Picture picture;
    picture.title = name;
    picture.caption << QStringLiteral("64 scenes by 64 dimmers, each cell as bright as its level.");
    int outside = 0;
    for (size_t i = 0; i < kLevelCount; ++i) {
        const int16_t level = table.storage().at(i);
        outside += outsideScale(level) ? 1 : 0;
        picture.cells.at(i) = LevelColour(level);
    }
    picture.outside = outside > 0;
    if (outside > 0) picture.caption << qs(outsideSentence(outside));
    return draw(picture);
}

QImage DrawDifference(const SceneTable& table, const QString& name, const SceneTable& other,
                      const QString& otherName) {
    Picture picture;
    picture.difference = true;
    picture.title = QStringLiteral("%1 compared with %2").arg(name, otherName);
    int differing = 0;
    int outside = 0;
    for (size_t i = 0; i < kLevelCount; ++i) {
        const int16_t a = table.storage().at(i);
        const int16_t b = other.storage().at(i);
        differing += a != b ? 1 : 0;
        if (outsideScale(a) || outsideScale(b)) {
            ++outside;
            picture.cells.at(i) = kOutsideColour;
        } else {
            picture.cells.at(i) = a != b ? kDifferenceColour : DimmedLevelColour(a);
        }
    }
    picture.caption << qs(CountOfLevelsDiffering(differing) + " Equal levels are drawn dimmed.");
    picture.outside = outside > 0;
    if (outside > 0) picture.caption << qs(outsideSentence(outside));
    return draw(picture);
}

}  // namespace corvane::cli
