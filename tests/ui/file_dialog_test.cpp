// The Qt file dialog layer without showing a dialog: the filter as Qt reads it, the names listed
// whatever their case, where the dialog starts, and the flag bits.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QThread>

#include "document/document_commands.h"
#include "tests/support/choose_entry.h"
#include "tests/support/qt_printers.h"
#include "ui/main/qt_file_dialog.h"

namespace corvane {
namespace {

// The description, then the patterns Qt lists by; the dialog shows only the description.
TEST(FileDialogFilter, SceneFilterBecomesQtNameFilters) {
    EXPECT_EQ(QtNameFilters(kSceneFileFilter),
              (QStringList{"Corvane Scene Files (*.SCN) (*.SCN)", "All Files (*.*) (*)"}));
    EXPECT_EQ(QtNameFilters("Shows|*.SCN;*.BAK|Text (*.txt)|*.txt"),
              (QStringList{"Shows (*.SCN *.BAK)", "Text (*.txt) (*.txt)"}));
    EXPECT_EQ(QtNameFilters(""), QStringList{});
}

// The names the dialog's own list holds for its directory, once loaded.
QStringList listed(QFileDialog& dialog, const QString& folder, int expected) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (model == nullptr) return {"<no model>"};
    QStringList names;
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        const QModelIndex root = model->index(folder);
        names.clear();
        for (int r = 0; r < model->rowCount(root); ++r)
            names << model->index(r, 0, root).data().toString();
        if (names.size() == expected) break;
        QThread::msleep(5);
    }
    names.sort();
    return names;
}

// The file types as the technician reads them in the dialog, and the one chosen.
QStringList shownFilters(QFileDialog& dialog) {
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (types == nullptr) return {"<no list of file types>"};
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
    return shown << "chosen: " + types->currentText();
}

void chooseAllFiles(QFileDialog& dialog) {
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    testing_support::chooseEntry(types, 1);
}

TEST(FileDialogFilter, SceneFilesWhateverTheirCaseAndAllFilesWhateverTheirName) {
    QTemporaryDir dir;
    for (const char* name : {"show.scn", "BIG.SCN", "Mixed.Scn", "notes.txt", "show"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QtFileDialog layer;
    layer.Filter = kSceneFileFilter;
    layer.Flags = dialog_flags::kSceneFileFlags;
    layer.FileName = QDir::toNativeSeparators(dir.path()) + "\\*.SCN";
    QFileDialog dialog;
    layer.prepare(dialog, false);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(shownFilters(dialog), (QStringList{"Corvane Scene Files (*.SCN)", "All Files (*.*)",
                                                 "chosen: Corvane Scene Files (*.SCN)"}));
    EXPECT_EQ(listed(dialog, dir.path(), 3), (QStringList{"BIG.SCN", "Mixed.Scn", "show.scn"}));
    chooseAllFiles(dialog);
    EXPECT_EQ(shownFilters(dialog).last(), "chosen: All Files (*.*)");
    EXPECT_EQ(listed(dialog, dir.path(), 5),
              (QStringList{"BIG.SCN", "Mixed.Scn", "notes.txt", "show", "show.scn"}));
}

TEST(FileDialogStart, APreviousChoiceStartsInItsFolderWithItsNameAMissingFolderAtHome) {
    QTemporaryDir dir;
    QtFileDialog layer;
    layer.Filter = kSceneFileFilter;
    layer.FileName = dir.filePath("last.SCN");
    QFileDialog dialog;
    layer.prepare(dialog, true);
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_EQ(dialog.selectedFiles().value(0), dir.filePath("last.SCN"));
    // Choosing all files keeps the name typed for saving.
    chooseAllFiles(dialog);
    EXPECT_EQ(dialog.selectedFiles().value(0), dir.filePath("last.SCN"));

    layer.FileName = kInitialDialogName;
    QFileDialog first;
    layer.prepare(first, false);
    EXPECT_EQ(first.directory().absolutePath(), QDir::home().absolutePath());
    EXPECT_EQ(shownFilters(first).last(), "chosen: Corvane Scene Files (*.SCN)");
    EXPECT_EQ(layer.FileName,
              kInitialDialogName);  // preparing changes nothing the commands compare
}

TEST(FileDialogFlags, OpenNeedsAnExistingFileAndSaveAsksBeforeReplacing) {
    QtFileDialog layer;
    layer.Filter = kSceneFileFilter;
    layer.Flags = 6150;
    QFileDialog open;
    layer.prepare(open, false);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    QFileDialog save;
    layer.prepare(save, true);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);  // a new file may be named
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.defaultSuffix(), "");  // a name is used as typed

    layer.Flags = 0;
    QFileDialog quiet;
    layer.prepare(quiet, true);
    EXPECT_TRUE(quiet.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(FileDialogFlags, PathMustExistRefusesANameInAMissingFolder) {
    QTemporaryDir dir;
    EXPECT_TRUE(ChoiceAllowed(dir.filePath("new.SCN"), 6150));
    EXPECT_FALSE(ChoiceAllowed(dir.filePath("gone/new.SCN"), 6150));
    EXPECT_TRUE(ChoiceAllowed(dir.filePath("gone/new.SCN"), 6150 & ~dialog_flags::kPathMustExist));
    EXPECT_TRUE(ChoiceAllowed(dir.path(), 6150));  // a folder typed in is opened, not chosen
}

}  // namespace
}  // namespace corvane
