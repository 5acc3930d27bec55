// The File menu's commands and the close request, working on the table and the document state.
#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace corvane {

class SceneTable;
struct DocumentState;
class FileDialog;
class MessageBox;

// The name the first file dialog of a run starts with: the default folder and the pattern.
inline const QString kInitialDialogName = QStringLiteral("C:\\Ostrel Corvane\\*.SCN");
inline const QString kSceneFileFilter =
    QStringLiteral("Corvane Scene Files (*.SCN)|*.SCN|All Files (*.*)|*.*");

// The points a table's history starts from or returns to: the table was cleared (New), read from
// its file (Open) or written to it (Save, Save As).
enum class TableEvent { Cleared, Loaded, Saved };

struct DocumentParts {
    SceneTable& Scenes;
    DocumentState& document;
    FileDialog& cdFile;
    MessageBox& messages;
    std::function<void()> UpdateTitle;                // refreshes the window's file-name display
    std::function<void(TableEvent)> tableEvent = {};  // told after each of the events above
};

// Unsaved changes are guarded by "Discard Any Changes?", asked only while the table is changed.
// A load or save that fails says why in a message and leaves the table, CurrentFile and Changed
// as they were.
class DocumentCommands {
  public:
    explicit DocumentCommands(DocumentParts parts) : parts_(std::move(parts)) {}

    // The File menu entries; each refreshes the file-name display where the menu does.
    void New();
    void Open();
    void Save();
    void SaveAs();
    // Exit and the close request: true when the window may close now. After Exit the question
    // has been answered, so the close request that follows must not ask it again.
    bool Unload();

    void FileOpen();
    // Opens path as the Open dialog's choice would be opened (a file named at start-up).
    void OpenPath(const QString& path);
    void FileSave();
    void FileSaveAs();

    // Move the whole table between memory and the file at CurrentFile; false after a failure,
    // which has been shown.
    bool LoadFromFile();
    bool SaveToFile();

  private:
    bool discardApproved();
    void prepareDialog();
    void loadChosen(const QString& path);
    void refreshTitle();
    void tell(TableEvent event);
    // Says how many levels of the file just opened no controller holds, once its name shows.
    void warnOutsideLevels();

    DocumentParts parts_;
    QString openedOutside_;  // the file just opened, when it holds such levels
    int outsideCount_ = 0;
};

}  // namespace corvane
