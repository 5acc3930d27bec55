// The table's history of level changes.
#include "ui/grid/scene_history.h"

#include <QUndoCommand>
#include <algorithm>

namespace corvane {

// One step: each cell's level before and after, so undoing restores exactly what was there,
// a level off the percent scale included.
class LevelsCommand final : public QUndoCommand {
  public:
    struct Cell {
        int scene;
        int dimmer;
        int16_t before;
        int16_t after;
    };

    LevelsCommand(SceneHistory& history, const QString& text, std::vector<Cell> cells)
        : QUndoCommand(text), history_(history), cells_(std::move(cells)) {
        for (const Cell& c : cells_) {
            top_ = std::min(top_, c.scene);
            bottom_ = std::max(bottom_, c.scene);
            left_ = std::min(left_, c.dimmer);
            right_ = std::max(right_, c.dimmer);
        }
    }

    void redo() override { apply(true); }
    void undo() override { apply(false); }

  private:
    void apply(bool forward) {
        SceneTable& table = history_.scenes_;
        for (const Cell& c : cells_) table(c.scene, c.dimmer) = forward ? c.after : c.before;
        emit history_.levelsChanged(top_, left_, bottom_, right_);
    }

    SceneHistory& history_;
    std::vector<Cell> cells_;
    int top_ = kSceneCount;
    int left_ = kDimmerCount;
    int bottom_ = -1;
    int right_ = -1;
};

SceneHistory::SceneHistory(SceneTable& scenes, DocumentState& document, QObject* parent)
    : QObject(parent), scenes_(scenes), document_(document) {
    connect(&stack_, &QUndoStack::indexChanged, this, &SceneHistory::followClean);
}

void SceneHistory::change(const QString& text, const std::vector<LevelChange>& levels) {
    std::vector<LevelsCommand::Cell> cells;
    cells.reserve(levels.size());
    bool differs = false;
    for (const LevelChange& l : levels) {
        const int16_t before = scenes_(l.scene, l.dimmer);
        differs = differs || before != l.level;
        cells.push_back({l.scene, l.dimmer, before, l.level});
    }
    // Setting levels to what they are is no change, and no step to undo.
    if (!differs) return;
    stack_.push(new LevelsCommand(*this, text, std::move(cells)));
}

// Back at the clean state the table is what was last cleared, opened or saved; anywhere else it
// has changed since.
void SceneHistory::followClean() {
    if (replacing_) return;
    document_.Changed = !stack_.isClean();
}

void SceneHistory::replaced(bool settled) {
    replacing_ = true;
    stack_.clear();
    // A table from the controller matches no file: no step leads back to an unchanged table.
    if (!settled) stack_.resetClean();
    replacing_ = false;
    emit tableChanged();
}

void SceneHistory::saved() {
    stack_.setClean();
}

void SceneHistory::refresh() {
    emit tableChanged();
}

QString SceneHistory::levelCount(std::size_t count) {
    return count == 1 ? QStringLiteral("1 level") : QStringLiteral("%1 levels").arg(count);
}

}  // namespace corvane
