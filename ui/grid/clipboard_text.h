// Levels as the text spreadsheets exchange: tab between cells, newline between rows, percents
// without "%"; and typed or pasted percents back as the levels the editor's chooser stores.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "document/scene_table.h"
#include "ui/grid/scene_history.h"

namespace corvane {

// "Scene 03, Dimmer 01.2": a cell as a message or a screen reader names it.
QString CellName(int scene, int dimmer);

// The level the chooser stores for a typed percent: 0 to 100, "%" after it or not, spaces
// around it allowed. Anything else has none.
std::optional<int16_t> TypedLevel(const QString& text);

// The cells of rows (scenes) top..bottom and columns (dimmers) left..right of cells. A level off
// the scale is copied as "?", which no paste takes for a percent.
QString CopyText(const SceneTable& scenes, const QRect& cells);

// The pasted text's rows of cells; the one trailing newline a spreadsheet adds is not a row.
std::vector<QStringList> PastedRows(const QString& text);

// A paste that cannot be made whole: the first cell in reading order that falls past the
// table's edge or is not a percent, counting rows and columns of the pasted text from 1.
struct PasteRefusal {
    int row;
    int column;
    bool pastEdge;
    QString value;
};

// The levels a block sets with its first cell at (scene, dimmer), or why it cannot be pasted.
std::variant<std::vector<LevelChange>, PasteRefusal> PlaceBlock(
    const std::vector<QStringList>& rows, int scene, int dimmer);

}  // namespace corvane
