// What each click and each choice in the scene editor does.
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>

#include "scale/level_scale.h"
#include "ui/editor/dimmer_label.h"
#include "ui/editor/scene_editor_window.h"
#include "ui/grid/clipboard_text.h"
#include "ui/grid/scene_history.h"

namespace corvane {

// Opens the chooser over the clicked level label, showing that dimmer's percentage. Nothing is
// stored here: a level off the percent scale (128) or outside 0..255 stays as it is until the
// technician chooses a level.
void frmCVSceneToolEdit::lblDimLvl_Click(int16_t Index) {
    if (Index < 0 || Index >= kDimmerCount) return;
    const int s = selectedScene();
    if (s < 0) return;
    AllVisible();
    lblDimLvl[Index]->hide();
    iCurDim = Index;
    cboLevel->move(lblDimLvl[Index]->pos());
    const int16_t level = Scenes(s, iCurDim);
    // A level outside 0..255 has no entry: the chooser then shows none selected.
    cboLevel->setCurrentIndex(level >= 0 && level <= 255 ? *LvlToPcnt(level) : -1);
    cboLevel->raise();
    cboLevel->show();
}

void frmCVSceneToolEdit::cboLevel_Click() {
    const int s = selectedScene();
    const int p = cboLevel->currentIndex();
    if (s >= 0 && p >= 0 && p < cboLevel->count()) {
        if (const std::optional<int16_t> level = PcntToLvl(static_cast<int16_t>(p))) {
            if (history_ != nullptr) {
                history_->change(QStringLiteral("Choice at ") + CellName(s, iCurDim),
                                 {{s, iCurDim, *level}});
            } else {
                Scenes(s, iCurDim) = *level;
            }
        }
    }
    AllVisible();
    ShowScene();
}

void frmCVSceneToolEdit::cboScene_Click() {
    AllVisible();
    ShowScene();
}

void frmCVSceneToolEdit::lblDimNum_Click(int16_t) {
    AllVisible();
}

void frmCVSceneToolEdit::Form_Click() {
    AllVisible();
}

// The chosen levels are already in the table; closing asks nothing.
void frmCVSceneToolEdit::cmdClose_Click() {
    close();
}

void frmCVSceneToolEdit::mousePressEvent(QMouseEvent* event) {
    backgroundPressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void frmCVSceneToolEdit::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = backgroundPressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    backgroundPressed_ = false;
    event->accept();
    if (click) Form_Click();
}

// Only Close and the close box close the window. Escape has no Cancel button to press, and
// Return or Enter that a list leaves unused would press Close as the window's only button; on
// Close itself the button takes them before they get here.
void frmCVSceneToolEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool closingKey = event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                            event->key() == Qt::Key_Enter;
    if (closingKey && modifiers == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace corvane
