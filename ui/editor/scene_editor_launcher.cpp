// Opens the scene editor window modally.
#include "ui/editor/scene_editor_launcher.h"

#include "ui/editor/scene_editor_window.h"

namespace corvane {

// A fresh window for every opening, so its lists and labels are built anew; it is gone again
// when the technician closes it.
void SceneEditorLauncher::showModal(QWidget* parent, SceneTable& scenes) {
    frmCVSceneToolEdit editor(scenes, parent);
    editor.exec();
}

void SceneEditorLauncher::showModalWithHistory(QWidget* parent, SceneHistory& history) {
    frmCVSceneToolEdit editor(history, parent);
    editor.exec();
}

}  // namespace corvane
