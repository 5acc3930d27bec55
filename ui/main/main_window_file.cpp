// The File menu and the close request: each handler hands over to the document commands.
#include "document/document_commands.h"
#include "ui/main/main_window.h"

namespace corvane {
namespace {

DocumentCommands commandsFor(MainWindowParts& parts, frmCVSceneTool& window) {
    return DocumentCommands(DocumentParts{parts.Scenes, parts.document, parts.cdFile,
                                          parts.messages, [&window] { window.UpdateTitle(); },
                                          [&window](TableEvent e) { window.tableEvent(e); }});
}

}  // namespace

void frmCVSceneTool::mnuNew_Click() {
    commandsFor(parts_, *this).New();
}
void frmCVSceneTool::mnuOpen_Click() {
    commandsFor(parts_, *this).Open();
}
void frmCVSceneTool::mnuSave_Click() {
    commandsFor(parts_, *this).Save();
}
void frmCVSceneTool::mnuSaveAs_Click() {
    commandsFor(parts_, *this).SaveAs();
}

void frmCVSceneTool::openAtStart(const QString& path) {
    commandsFor(parts_, *this).OpenPath(path);
}

void frmCVSceneTool::mnuExit_Click() {
    if (!commandsFor(parts_, *this).Unload()) return;
    // The question has been answered: the close request that follows must not ask it again.
    closeApproved_ = true;
    close();
    closeApproved_ = false;
}

bool frmCVSceneTool::Form_Unload() {
    return commandsFor(parts_, *this).Unload();
}

}  // namespace corvane
