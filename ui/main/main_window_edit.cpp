// The Edit menu: the scene editor, shown modally.
#include "document/scene_table.h"
#include "ui/grid/scene_history.h"
#include "ui/main/editor_launcher.h"
#include "ui/main/main_window.h"

namespace corvane {

// Every use of the editor counts as a change, whether or not a level was chosen.
void frmCVSceneTool::mnuEdit_Click() {
    parts_.editor.showModalWithHistory(this, *history_);
    parts_.document.Changed = true;
    history_->refresh();
}

}  // namespace corvane
