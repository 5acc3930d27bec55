// The Open and Save As dialogs on QFileDialog (Qt's own dialog, the same on every desktop).
#pragma once

#include <QString>
#include <QStringList>

#include "document/file_dialog.h"

class QFileDialog;
class QWidget;

namespace corvane {

// "Description|pattern|Description|pattern" as Qt's name filters, "Description (patterns)", for
// a dialog that hides the patterns and shows each description as it stands. Several patterns in
// one entry ("*.SCN;*.BAK") become Qt's space-separated list, and "*.*" becomes "*".
QStringList QtNameFilters(const QString& filter);

// Whether a name chosen in the dialog may be accepted under the flag bits: path must exist
// refuses a name whose folder is missing (Qt's own Save dialog accepts it).
bool ChoiceAllowed(const QString& path, int flags);

class QtFileDialog final : public FileDialog {
  public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    bool ShowOpen() override;
    bool ShowSave() override;

    // Sets up dialog from FileName, Filter and Flags as ShowOpen (save false) or ShowSave would,
    // without showing it.
    void prepare(QFileDialog& dialog, bool save) const;

  private:
    bool show(bool save);

    QWidget* parent_ = nullptr;
    QString lastFolder_;  // where the last chosen file lies: an empty name starts there
};

}  // namespace corvane
