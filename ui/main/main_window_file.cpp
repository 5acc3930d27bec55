// The File menu and the close request.
#include "ui/main/main_window.h"

namespace corvane {

void frmCVSceneTool::mnuNew_Click() {}
void frmCVSceneTool::mnuOpen_Click() {}
void frmCVSceneTool::mnuSave_Click() {}
void frmCVSceneTool::mnuSaveAs_Click() {}
void frmCVSceneTool::mnuExit_Click() {}

bool frmCVSceneTool::Form_Unload() { return true; }

}  // namespace corvane
