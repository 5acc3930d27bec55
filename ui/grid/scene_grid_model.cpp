// The scene table as a table model.
#include "ui/grid/scene_grid_model.h"

#include <QColor>

#include "document/scene_names.h"
#include "scale/level_scale.h"
#include "ui/grid/clipboard_text.h"
#include "ui/grid/scene_history.h"

namespace corvane {
namespace {

// The colours of a show's picture: a level is its own grey, and a level no controller holds
// stands out in blue.
QColor cellColour(int16_t level) {
    if (level < 0 || level > 255) return QColor(0, 176, 255);
    return QColor(level, level, level);
}

// Dark text on light cells and light text on dark ones, so every percent stays readable.
QColor textColour(int16_t level) {
    return level >= 128 || level < 0 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

SceneGridModel::SceneGridModel(SceneHistory& history, QObject* parent)
    : QAbstractTableModel(parent), history_(history) {
    connect(&history_, &SceneHistory::levelsChanged, this, &SceneGridModel::showChanged);
    connect(&history_, &SceneHistory::tableChanged, this,
            [this] { showChanged(0, 0, kSceneCount - 1, kDimmerCount - 1); });
}

void SceneGridModel::showChanged(int top, int left, int bottom, int right) {
    emit dataChanged(index(top, left), index(bottom, right));
}

int SceneGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSceneCount;
}

int SceneGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDimmerCount;
}

QVariant SceneGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int16_t level = history_.scenes()(index.row(), index.column());
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(LevelText(level));
        case Qt::EditRole:
            return level < 0 || level > 255 ? QString() : QString::number(*LvlToPcnt(level));
        case Qt::BackgroundRole:
            return cellColour(level);
        case Qt::ForegroundRole:
            return textColour(level);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case Qt::AccessibleTextRole:
            return CellName(index.row(), index.column()) + QStringLiteral(", ") +
                   QString::fromStdString(LevelText(level));
        default:
            return {};
    }
}

QVariant SceneGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) return QString::fromStdString(DimmerName(section));
    return QStringLiteral("Scene: ") + QString::fromStdString(SceneNumberText(section));
}

Qt::ItemFlags SceneGridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

}  // namespace corvane
