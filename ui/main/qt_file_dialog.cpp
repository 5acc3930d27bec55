// The Open and Save As dialogs on QFileDialog.
#include "ui/main/qt_file_dialog.h"

namespace corvane {

bool QtFileDialog::ShowOpen() { return false; }
bool QtFileDialog::ShowSave() { return false; }

}  // namespace corvane
