// The File menu's commands and the close request.
#include "document/document_commands.h"

#include <algorithm>

#include "document/document_state.h"
#include "document/file_dialog.h"
#include "document/message_box.h"
#include "document/scene_file.h"
#include "document/scene_table.h"

namespace corvane {
namespace {

// The dialog reports a cancel by leaving the name as it was: empty, or still the initial pattern.
bool nameChosen(const QString& name) {
    return !name.isEmpty() && name != kInitialDialogName;
}

}  // namespace

bool DocumentCommands::discardApproved() {
    if (!parts_.document.Changed) return true;
    return parts_.messages.show(messages::discardChanges()) == MessageAnswer::Yes;
}

// The filter, the flags, and the first dialog of a run's starting name; the name a dialog
// returned otherwise stays for the next one.
void DocumentCommands::prepareDialog() {
    FileDialog& dialog = parts_.cdFile;
    dialog.Filter = kSceneFileFilter;
    if (!parts_.document.DialogInitDone) {
        parts_.document.DialogInitDone = true;
        dialog.FileName = kInitialDialogName;
    }
    dialog.Flags = dialog_flags::kSceneFileFlags;
}

void DocumentCommands::refreshTitle() {
    if (parts_.UpdateTitle) parts_.UpdateTitle();
}

void DocumentCommands::tell(TableEvent event) {
    if (parts_.tableEvent) parts_.tableEvent(event);
}

void DocumentCommands::New() {
    if (!discardApproved()) return;
    parts_.document.CurrentFile = kNoFile;
    refreshTitle();
    // Every scene: the transfers, the editor and the file all span the whole table, and a
    // half-cleared table would send yesterday's second half with the new show.
    parts_.Scenes.fill(0);
    parts_.document.Changed = false;
    tell(TableEvent::Cleared);
}

void DocumentCommands::Open() {
    FileOpen();
    refreshTitle();
    warnOutsideLevels();
}

void DocumentCommands::Save() {
    if (parts_.document.CurrentFile == kNoFile) {
        FileSaveAs();
    } else {
        FileSave();
    }
    refreshTitle();
}

void DocumentCommands::SaveAs() {
    FileSaveAs();
    refreshTitle();
}

bool DocumentCommands::Unload() {
    return discardApproved();
}

void DocumentCommands::FileOpen() {
    if (!discardApproved()) return;
    FileDialog& dialog = parts_.cdFile;
    dialog.FileName = QString();
    prepareDialog();
    const bool accepted = dialog.ShowOpen();
    const QString chosen = dialog.FileName;
    if (!accepted || !nameChosen(chosen)) return;
    loadChosen(chosen);
}

void DocumentCommands::OpenPath(const QString& path) {
    loadChosen(path);
    refreshTitle();
    warnOutsideLevels();
}

void DocumentCommands::loadChosen(const QString& path) {
    const QString previous = parts_.document.CurrentFile;
    parts_.document.CurrentFile = path;
    if (!LoadFromFile()) {
        parts_.document.CurrentFile = previous;
        return;
    }
    parts_.document.Changed = false;
    tell(TableEvent::Loaded);
    const auto& levels = parts_.Scenes.storage();
    outsideCount_ = static_cast<int>(std::count_if(
        levels.begin(), levels.end(), [](int16_t level) { return level < 0 || level > 255; }));
    openedOutside_ = path;
}

// Said at once, not first when a Send is refused.
void DocumentCommands::warnOutsideLevels() {
    if (outsideCount_ > 0)
        parts_.messages.show(messages::levelsOutOfRange(openedOutside_, outsideCount_));
    outsideCount_ = 0;
}

void DocumentCommands::FileSave() {
    if (!SaveToFile()) return;
    parts_.document.Changed = false;
    tell(TableEvent::Saved);
}

void DocumentCommands::FileSaveAs() {
    FileDialog& dialog = parts_.cdFile;
    prepareDialog();
    const bool accepted = dialog.ShowSave();
    const QString chosen = dialog.FileName;
    if (!accepted || !nameChosen(chosen)) return;

    const QString previous = parts_.document.CurrentFile;
    parts_.document.CurrentFile = chosen;
    if (!SaveToFile()) {
        parts_.document.CurrentFile = previous;
        return;
    }
    parts_.document.Changed = false;
    tell(TableEvent::Saved);
}

bool DocumentCommands::LoadFromFile() {
    QString error;
    if (LoadSceneFile(parts_.document.CurrentFile, parts_.Scenes, &error)) return true;
    parts_.messages.show(messages::problem(error));
    return false;
}

bool DocumentCommands::SaveToFile() {
    QString error;
    if (SaveSceneFile(parts_.document.CurrentFile, parts_.Scenes, &error)) return true;
    parts_.messages.show(messages::problem(error));
    return false;
}

}  // namespace corvane
