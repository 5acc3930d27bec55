// The scene table as a table model: scenes down, dimmers across, each cell the level's percent
// on a grey from black at 0 to white at 255.
#pragma once

#include <QAbstractTableModel>

namespace corvane {

class SceneHistory;

class SceneGridModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit SceneGridModel(SceneHistory& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Display: "50%" ("?%" off the scale); edit: the percent alone; accessible text:
    // "Scene 01, Dimmer 01.1, 50%".
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    // Repaints the cells from (top, left) to (bottom, right), which the history has changed.
    void showChanged(int top, int left, int bottom, int right);

    SceneHistory& history_;
};

}  // namespace corvane
