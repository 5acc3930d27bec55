// The Open and Save As dialogs as the document commands drive them.
#pragma once

#include <QString>

namespace corvane {

// Flag bits the commands use (6150 in all).
namespace dialog_flags {
inline constexpr int kOverwritePrompt = 0x2;   // Save As asks before replacing a file
inline constexpr int kHideReadOnly = 0x4;      // no read-only check box
inline constexpr int kPathMustExist = 0x800;   // the folder must exist
inline constexpr int kFileMustExist = 0x1000;  // Open only: the file must exist
inline constexpr int kSceneFileFlags =
    kOverwritePrompt | kHideReadOnly | kPathMustExist | kFileMustExist;
}  // namespace dialog_flags

// FileName carries the starting name in and the chosen full path out; a cancelled dialog leaves
// it as it was. Filter is "Description|pattern|Description|pattern".
class FileDialog {
  public:
    virtual ~FileDialog() = default;

    QString FileName;
    QString Filter;
    int Flags = 0;

    // Modal; return false when cancelled.
    virtual bool ShowOpen() = 0;
    virtual bool ShowSave() = 0;
};

}  // namespace corvane
