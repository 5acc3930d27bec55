// Opening the editor over the table's history, for launchers that only know the table.
#include "ui/main/editor_launcher.h"

#include "ui/grid/scene_history.h"

namespace corvane {

void EditorLauncher::showModalWithHistory(QWidget* parent, SceneHistory& history) {
    showModal(parent, history.scenes());
}

}  // namespace corvane
