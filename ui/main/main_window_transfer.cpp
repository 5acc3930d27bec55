// The two transfer buttons.
#include "ui/main/main_window.h"

namespace corvane {

void frmCVSceneTool::cmdGetScenes_Click() {}

void frmCVSceneTool::cmdSendScenes_Click() {}

}  // namespace corvane
