// The Edit menu: the scene editor, shown modally.
#include "ui/main/main_window.h"

namespace corvane {

void frmCVSceneTool::mnuEdit_Click() {}

}  // namespace corvane
