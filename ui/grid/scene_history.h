// The table's history: every change of levels is one step on one undo stack, from the grid and
// from the scene editor alike, and Changed follows the steps back to the saved table.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/document_state.h"
#include "document/scene_table.h"

namespace corvane {

// Cells, as one step sets them: rows are scenes, columns dimmers.
struct LevelChange {
    int scene;
    int dimmer;
    int16_t level;
};

// The undo stack lives beside the table rather than in it: the table's own library links Qt Core
// only, and the stack is Qt Gui's.
class SceneHistory final : public QObject {
    Q_OBJECT

  public:
    SceneHistory(SceneTable& scenes, DocumentState& document, QObject* parent = nullptr);

    SceneTable& scenes() { return scenes_; }
    const SceneTable& scenes() const { return scenes_; }
    QUndoStack& stack() { return stack_; }

    // One step setting the given levels, named for the Undo entry ("Paste of 64 levels"); it
    // sets Changed as any edit does. Nothing happens when no level would differ.
    void change(const QString& text, const std::vector<LevelChange>& levels);

    // The whole table was replaced (Get, Open, New): the steps so far go. settled says the new
    // table is the one its file holds (Open, New), the state Undo can come back to unchanged.
    void replaced(bool settled);
    // The table was saved: this is now the state without changes.
    void saved();
    // The table changed outside any step (the editor without a history): show it again.
    void refresh();

    // Says "1 level" or "64 levels".
    static QString levelCount(std::size_t count);

  signals:
    // The levels of the rectangle from (top, left) to (bottom, right), inclusive, changed.
    void levelsChanged(int top, int left, int bottom, int right);
    // Any level may have changed.
    void tableChanged();

  private:
    friend class LevelsCommand;
    void followClean();

    SceneTable& scenes_;
    DocumentState& document_;
    QUndoStack stack_;
    bool replacing_ = false;
};

}  // namespace corvane
