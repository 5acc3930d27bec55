// The File menu commands as scripted dialog-and-answer sequences: what is asked, what each
// dialog starts with, and the table, CurrentFile and Changed afterwards.
#include "document/document_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "document/document_state.h"
#include "document/scene_file.h"
#include "tests/support/scene_files.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"

namespace corvane {
namespace {

using testing_support::FileBytes;
using testing_support::ScriptedFileDialog;
using testing_support::ScriptedMessageBox;
using Kind = ScriptedFileDialog::Kind;

const QString kInitial = QStringLiteral("C:\\Ostrel Corvane\\*.SCN");
const QString kFilter = QStringLiteral("Corvane Scene Files (*.SCN)|*.SCN|All Files (*.*)|*.*");
const Message kQuestion{"Discard Any Changes?", "Ostrel Corvane", MessageButtons::YesNo,
                        MessageIcon::Question, MessageAnswer::Yes};

SceneTable aShow() {
    SceneTable t;
    for (int i = 0; i < kLevelCount; ++i) t.storage()[i] = static_cast<int16_t>(i % 251);
    t(63, 63) = -32768;
    t(40, 2) = 32767;
    return t;
}

struct DocumentWorld {
    SceneTable scenes;
    DocumentState document;
    ScriptedFileDialog cdFile;
    ScriptedMessageBox messages;
    std::vector<QString> titles;  // CurrentFile at each refresh of the file-name display
    DocumentCommands commands{DocumentParts{scenes, document, cdFile, messages,
                                            [this] { titles.push_back(document.CurrentFile); }}};
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    void saveFile(const QString& name, const SceneTable& table) {
        testing_support::WriteFile(path(name), testing_support::SceneBytes(table));
    }
    void makeDirty(const SceneTable& table, const QString& current) {
        scenes = table;
        document.CurrentFile = current;
        document.Changed = true;
    }
    void choose(std::optional<QString> choice) { cdFile.choices.push_back(std::move(choice)); }
    // The table, CurrentFile, Changed, and the file names the display showed, in order.
    void expect(const SceneTable& table, const QString& current, bool changed,
                const std::vector<QString>& shownTitles) const {
        EXPECT_EQ(scenes, table);
        EXPECT_EQ(document.CurrentFile, current);
        EXPECT_EQ(document.Changed, changed);
        EXPECT_EQ(titles, shownTitles);
    }
};

// Levels a controller cannot hold are said on opening, counted; the file is opened all the same.
TEST(DocumentCommands, OpeningAFileWithLevelsOutsideTheScaleWarns) {
    const std::vector<std::pair<SceneTable, QString>> cases = {
        {SceneTable::with({{0, 0, 255}}), ""},
        {SceneTable::with({{3, 4, 256}}), "1 level"},
        {aShow(), "2 levels"}};
    for (const auto& [table, counted] : cases) {
        DocumentWorld w;
        w.saveFile("a.SCN", table);
        w.choose(w.path("a.SCN"));
        w.messages.onShow = [&](const Message&) { EXPECT_EQ(w.titles.size(), 1u); };  // name first
        w.commands.Open();
        w.expect(table, w.path("a.SCN"), false, {w.path("a.SCN")});
        ASSERT_EQ(w.messages.shown.size(), counted.isEmpty() ? 0u : 1u);
        if (counted.isEmpty()) continue;
        const Message& m = w.messages.shown[0];
        EXPECT_EQ(m.text, w.path("a.SCN") + " holds " + counted +
                              " outside 0 to 255, which no controller holds. Is it a scene file?");
        EXPECT_EQ(std::tuple(m.title, m.buttons, m.icon),
                  std::tuple(QString("Ostrel Corvane"), MessageButtons::Ok, MessageIcon::Warning));
        EXPECT_TRUE(m.informativeText.contains("?%")) << m.informativeText.toStdString();
    }
}

TEST(DocumentCommands, NewClearsEverySceneOnYesAndChangesNothingNotEvenTheTitleOnNo) {
    DocumentWorld yes;
    yes.makeDirty(aShow(), yes.path("a.SCN"));
    yes.commands.New();
    EXPECT_EQ(yes.messages.shown, std::vector<Message>{kQuestion});
    yes.expect(SceneTable{}, "None", false, {"None"});  // scenes 32 to 63 as well

    DocumentWorld no;
    no.makeDirty(aShow(), no.path("a.SCN"));
    no.messages.answers.push_back(MessageAnswer::No);
    no.commands.New();
    EXPECT_EQ(no.messages.shown.size(), 1u);
    no.expect(aShow(), no.path("a.SCN"), true, {});
}

TEST(DocumentCommands, OpenAnsweredYesThenCancelledOrAnsweredNoKeepsEverythingButRefreshes) {
    DocumentWorld yes;
    yes.makeDirty(aShow(), yes.path("a.SCN"));
    yes.choose(std::nullopt);
    yes.commands.Open();
    EXPECT_EQ(yes.messages.shown, std::vector<Message>{kQuestion});
    EXPECT_EQ(yes.cdFile.shown.size(), 1u);
    yes.expect(aShow(), yes.path("a.SCN"), true, {yes.path("a.SCN")});
    EXPECT_TRUE(yes.document.DialogInitDone);  // the first dialog was prepared, though cancelled

    DocumentWorld no;
    no.makeDirty(aShow(), "None");
    no.messages.answers.push_back(MessageAnswer::No);
    no.commands.Open();
    EXPECT_TRUE(no.cdFile.shown.empty());
    EXPECT_FALSE(no.document.DialogInitDone);
    no.expect(aShow(), "None", true, {"None"});
}

// A dialog that hands back the initial pattern or nothing was not answered with a file.
TEST(DocumentCommands, InitialPatternOrEmptyNameCountsAsCancel) {
    for (const QString& returned : {kInitial, QString()}) {
        DocumentWorld w;
        w.makeDirty(aShow(), "None");
        w.choose(returned);
        w.commands.Open();
        w.choose(returned);
        w.commands.SaveAs();
        w.expect(aShow(), "None", true, {"None", "None"});
        EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files), QStringList{});
    }
}

TEST(DocumentCommands, FirstOpenStartsAtTheInitialNameAndLaterDialogsWhereThePreviousLeftIt) {
    DocumentWorld w;
    w.saveFile("a.SCN", aShow());
    w.choose(w.path("a.SCN"));
    w.commands.Open();  // first of the run: the initial name
    EXPECT_TRUE(w.document.DialogInitDone);
    w.expect(aShow(), w.path("a.SCN"), false, {w.path("a.SCN")});
    w.choose(w.path("b.SCN"));
    w.commands.SaveAs();  // the name the Open returned
    w.choose(std::nullopt);
    w.commands.SaveAs();  // the name the last Save As returned
    w.choose(std::nullopt);
    w.commands.Open();  // every later Open: empty
    w.choose(std::nullopt);
    w.commands.SaveAs();  // empty, as the cancelled Open left it
    std::vector<QString> starts;
    for (const auto& s : w.cdFile.shown) {
        starts.push_back((s.kind == Kind::Open ? "Open " : "Save ") + s.fileName);
        EXPECT_EQ(s.filter, kFilter);
        EXPECT_EQ(s.flags, 6150);
    }
    EXPECT_EQ(starts, (std::vector<QString>{"Open " + kInitial, "Save " + w.path("a.SCN"),
                                            "Save " + w.path("b.SCN"), "Open ", "Save "}));
}

TEST(DocumentCommands, FirstSaveAsStartsAtTheInitialNameNeverAsksAndSaveWithoutAFileRunsIt) {
    DocumentWorld w;
    w.makeDirty(aShow(), "None");
    w.choose(std::nullopt);
    w.commands.SaveAs();  // first of the run: the initial name
    w.expect(aShow(), "None", true, {"None"});
    w.choose(w.path("new.SCN"));
    w.commands.Save();  // no file yet: runs Save As
    ASSERT_EQ(w.cdFile.shown.size(), 2u);
    EXPECT_EQ(w.cdFile.shown[0].kind, Kind::Save);
    EXPECT_EQ(w.cdFile.shown[0].fileName, kInitial);
    EXPECT_EQ(w.cdFile.shown[1].kind, Kind::Save);
    EXPECT_TRUE(w.messages.shown.empty());
    w.expect(aShow(), w.path("new.SCN"), false, {"None", w.path("new.SCN")});
    EXPECT_EQ(FileBytes(w.path("new.SCN")), testing_support::SceneBytes(aShow()));
}

TEST(DocumentCommands, SaveWithAFileWritesAtOnceWithoutDialogOrQuestion) {
    // "none" is a file's name like any other: only "None" means no file.
    for (const QString& name : {QStringLiteral("show.SCN"), QStringLiteral("none")}) {
        DocumentWorld w;
        w.saveFile(name, SceneTable{});
        w.makeDirty(aShow(), w.path(name));
        w.commands.Save();
        EXPECT_TRUE(w.cdFile.shown.empty());
        EXPECT_TRUE(w.messages.shown.empty());
        w.expect(aShow(), w.path(name), false, {w.path(name)});
        EXPECT_EQ(FileBytes(w.path(name)), testing_support::SceneBytes(aShow()));
    }
}

TEST(DocumentCommands, AFileThatCannotBeOpenedIsReportedAndNothingChanges) {
    DocumentWorld w;
    testing_support::WriteFile(w.path("short.SCN"), QByteArray(100, '\x05'));
    QDir(w.dir.path()).mkdir("folder.SCN");
    const std::pair<QString, QString> cases[] = {
        {"short.SCN", "the file is shorter than a scene file (100 of 8192 bytes)"},
        {"folder.SCN", "it is a folder"},
        {"missing.SCN", "the file does not exist"},
    };
    for (const auto& [name, reason] : cases) {
        w.makeDirty(aShow(), w.path("current.SCN"));
        w.messages.shown.clear();
        w.titles.clear();
        w.choose(w.path(name));
        w.commands.Open();
        // The question, then the problem.
        EXPECT_EQ(w.messages.shown,
                  (std::vector<Message>{
                      kQuestion,
                      messages::problem(
                          QStringLiteral("Could not open %1: %2.").arg(w.path(name), reason))}));
        EXPECT_EQ(w.messages.shown.back().icon, MessageIcon::Critical);
        EXPECT_EQ(w.messages.shown.back().title, "Error");
        w.expect(aShow(), w.path("current.SCN"), true, {w.path("current.SCN")});
    }
}

TEST(DocumentCommands, AFailedSaveOrSaveAsIsReportedAndKeepsTheDocumentAsItWas) {
    const std::pair<QString, QString> cases[] = {
        {"gone/x.SCN", "the folder does not exist"},
        {"pipe", "it is not a regular file (it is a named pipe)"},
        {"folder.SCN", "it is a folder"},  // Save: the name is taken by a folder now
    };
    for (const auto& [name, reason] : cases) {
        DocumentWorld w;
        ASSERT_EQ(mkfifo(QFile::encodeName(w.path("pipe")).constData(), 0666), 0);
        ASSERT_TRUE(QDir(w.dir.path()).mkdir("folder.SCN"));
        const QString target = w.path(name);
        const bool saveAs = name != "folder.SCN";
        w.makeDirty(aShow(), saveAs ? "None" : target);
        w.choose(target);
        saveAs ? w.commands.SaveAs() : w.commands.Save();
        EXPECT_EQ(w.messages.shown, std::vector<Message>{messages::problem(
                                        "Could not save " + target + ": " + reason + ".")});
        w.expect(aShow(), saveAs ? "None" : target, true, {saveAs ? "None" : target});
        // Nothing was created: no folder, nothing in the folder in the way, no file beside.
        EXPECT_TRUE(QFileInfo(w.path("pipe")).exists() && !QFileInfo(w.path("pipe")).isFile());
        EXPECT_EQ(
            QDir(w.dir.path())
                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System | QDir::Hidden),
            (QStringList{"folder.SCN", "pipe"}));
        EXPECT_TRUE(QDir(w.path("folder.SCN")).isEmpty());
    }
}

}  // namespace
}  // namespace corvane
