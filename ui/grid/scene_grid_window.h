// The Scene Grid window: every scene's levels at once, edited by typing, filling, pasting and
// deleting, each change one step of the table's history.
#pragma once

#include <QModelIndex>
#include <QString>
#include <QWidget>
#include <vector>

class QTableView;
class QAction;

namespace corvane {

class MessageBox;
class SceneHistory;
class SceneGridModel;
struct LevelChange;

class SceneGridWindow final : public QWidget {
    Q_OBJECT

  public:
    // Not modal; it shows the table as it is now for as long as it is open.
    SceneGridWindow(SceneHistory& history, MessageBox& messages, QWidget* parent = nullptr);
    ~SceneGridWindow() override;

    // Ctrl+C: the selection's rows and columns as spreadsheet text.
    void copySelection();
    // Ctrl+V: a block at the selection's top left (the current cell when one is selected), or
    // one value over the whole selection.
    void paste();
    // Delete: the selection to 0%.
    void deleteSelection();
    // A value typed into the cell at index (Enter), or over the whole selection (Ctrl+Enter).
    void commitTyped(const QModelIndex& index, const QString& text, bool fill);

    QTableView* view = nullptr;
    SceneGridModel* model = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    // The selected cells, or the current cell when nothing is selected.
    std::vector<QModelIndex> selectedCells() const;
    void setSelected(const QString& what, int16_t level);

    SceneHistory& history_;
    MessageBox& messages_;
};

}  // namespace corvane
