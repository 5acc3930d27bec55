// The Open and Save As dialogs on QFileDialog.
#include "ui/main/qt_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <vector>

namespace corvane {
namespace {

// Qt's own dialog, not the desktop's: it matches "*.SCN" whatever the case of the name
// ("show.scn" is listed), where the GTK dialog shows only upper-case names.
constexpr QFileDialog::Option kOwnDialog = QFileDialog::DontUseNativeDialog;

// Keeps the dialog open on a name the flags refuse, as the system dialog does.
class CheckedFileDialog final : public QFileDialog {
  public:
    CheckedFileDialog(QWidget* parent, int flags) : QFileDialog(parent), flags_(flags) {}

  protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !ChoiceAllowed(files.first(), flags_)) {
            const QString folder = QFileInfo(files.first()).absolutePath();
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("The folder %1 does not exist.")
                                     .arg(QDir::toNativeSeparators(folder)));
            return;
        }
        QFileDialog::accept();
    }

  private:
    int flags_;
};

bool hasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// Where a dialog starts: a folder, and either a file name to fill in or a pattern to list by.
struct StartingPoint {
    QString folder;
    QString file;
    QString pattern;
};

StartingPoint startingPoint(const QString& fileName, const QString& lastFolder) {
    StartingPoint start;
    // Names may come in the system's Windows form ("C:\Ostrel Corvane\*.SCN"); read both
    // separators, so the folder and the pattern are found on every platform.
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype cut = name.lastIndexOf(QLatin1Char('/'));
    const QString folder = cut >= 0 ? name.left(cut + 1) : QString();
    const QString leaf = cut >= 0 ? name.mid(cut + 1) : name;
    if (hasWildcard(leaf)) {
        start.pattern = leaf;
    } else {
        start.file = leaf;
    }
    // A folder that is not there (the Windows default on every other system) leaves the dialog
    // where the last file was chosen, or in the user's home.
    if (QDir::isAbsolutePath(folder) && QDir(folder).exists()) {
        start.folder = folder;
    } else if (!lastFolder.isEmpty() && QDir(lastFolder).exists()) {
        start.folder = lastFolder;
    } else {
        start.folder = QDir::homePath();
    }
    return start;
}

// One entry of "Description|pattern|Description|pattern": the description shown, and its
// patterns as the system reads them.
struct FilterEntry {
    QString description;
    QStringList patterns;
};

std::vector<FilterEntry> filterEntries(const QString& filter) {
    std::vector<FilterEntry> entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << p.trimmed();
        entries.push_back({parts[i].trimmed(), patterns});
    }
    return entries;
}

// "*.*" names every file, as on Windows; Qt's "*.*" needs a dot and would hide "show".
QString qtPattern(const QString& pattern) {
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    for (const FilterEntry& entry : filterEntries(filter)) {
        QStringList patterns;
        for (const QString& p : entry.patterns) patterns << qtPattern(p);
        // Qt lists by the patterns in the last parentheses and, told to hide them, shows what
        // comes before: the description exactly as the system gives it.
        result << entry.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

bool ChoiceAllowed(const QString& path, int flags) {
    const QFileInfo info(path);
    if (info.isDir()) return true;  // the dialog moves into it
    return (flags & dialog_flags::kPathMustExist) == 0 || info.absoluteDir().exists();
}

void QtFileDialog::prepare(QFileDialog& dialog, bool save) const {
    dialog.setOption(kOwnDialog, true);
    dialog.setWindowModality(Qt::ApplicationModal);
    // No title and no default suffix: the platform's titles show, and a name is used as typed.
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         (Flags & dialog_flags::kOverwritePrompt) == 0);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((Flags & dialog_flags::kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                       : QFileDialog::AnyFile);
    }
    // The read-only check box does not exist in Qt's dialog, so hiding it needs nothing.

    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = QtNameFilters(Filter);
    dialog.setNameFilters(filters);
    const StartingPoint start = startingPoint(FileName, lastFolder_);
    dialog.setDirectory(start.folder);
    if (!start.pattern.isEmpty()) {
        const std::vector<FilterEntry> entries = filterEntries(Filter);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].patterns.contains(start.pattern, Qt::CaseInsensitive)) {
                dialog.selectNameFilter(filters[static_cast<qsizetype>(i)]);
                break;
            }
        }
    } else if (!start.file.isEmpty()) {
        dialog.selectFile(start.file);
    }
}

bool QtFileDialog::show(bool save) {
    CheckedFileDialog dialog(parent_, Flags);
    prepare(dialog, save);
    if (dialog.exec() != QDialog::Accepted) return false;  // FileName stays as it was
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    lastFolder_ = QFileInfo(chosen.first()).absolutePath();
    FileName = QDir::toNativeSeparators(chosen.first());
    return true;
}

bool QtFileDialog::ShowOpen() {
    return show(false);
}
bool QtFileDialog::ShowSave() {
    return show(true);
}

}  // namespace corvane
