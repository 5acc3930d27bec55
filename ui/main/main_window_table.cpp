// The Table menu: the Scene Grid window, and Undo and Redo of the table's steps.
#include <QMenuBar>

#include "ui/grid/scene_grid_window.h"
#include "ui/grid/scene_history.h"
#include "ui/main/main_window.h"

namespace corvane {

void frmCVSceneTool::buildTableMenu() {
    QMenu* mnuTable = menuBar()->addMenu(QStringLiteral("&Table"));
    mnuSceneGrid = mnuTable->addAction(QStringLiteral("Scene Grid"));
    mnuSceneGrid->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    mnuTable->addSeparator();
    // Each says what it would undo or redo: "Undo Paste of 64 levels".
    mnuUndo = history_->stack().createUndoAction(this, QStringLiteral("Undo"));
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo = history_->stack().createRedoAction(this, QStringLiteral("Redo"));
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuTable->addAction(mnuUndo);
    mnuTable->addAction(mnuRedo);
    connect(mnuSceneGrid, &QAction::triggered, this, &frmCVSceneTool::mnuSceneGrid_Click);
}

void frmCVSceneTool::mnuSceneGrid_Click() {
    if (grid_ == nullptr) grid_ = new SceneGridWindow(*history_, parts_.messages, this);
    grid_->show();
    grid_->raise();
    grid_->activateWindow();
}

void frmCVSceneTool::tableEvent(TableEvent event) {
    if (event == TableEvent::Saved) {
        history_->saved();
    } else {
        history_->replaced(true);
    }
}

}  // namespace corvane
