// The File menu commands as scripted dialog-and-answer sequences: what is asked, what each
// dialog starts with, and the table, CurrentFile and Changed afterwards.
#include "document/document_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "document/document_state.h"
#include "document/scene_file.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"

namespace corvane {
namespace {

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

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
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
        QString error;
        ASSERT_TRUE(SaveSceneFile(path(name), table, &error)) << error.toStdString();
    }
    void makeDirty(const SceneTable& table, const QString& current) {
        scenes = table;
        document.CurrentFile = current;
        document.Changed = true;
    }
    void choose(std::optional<QString> choice) { cdFile.choices.push_back(std::move(choice)); }
    void answer(MessageAnswer a) { messages.answers.push_back(a); }
};

TEST(DocumentCommands, CleanDocumentIsNeverAskedAbout) {
    DocumentWorld w;
    w.saveFile("a.SCN", aShow());
    w.commands.New();
    w.choose(w.path("a.SCN"));
    w.commands.Open();
    EXPECT_TRUE(w.commands.Unload());
    EXPECT_EQ(w.messages.shown.size(), 0u);
}

TEST(DocumentCommands, NewClearsEveryScene) {
    DocumentWorld w;
    w.makeDirty(aShow(), w.path("a.SCN"));
    w.commands.New();
    EXPECT_EQ(w.messages.shown, std::vector<Message>{kQuestion});
    EXPECT_EQ(w.scenes, SceneTable{});  // scenes 32 to 63 as well
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{"None"});
}

TEST(DocumentCommands, NewAnsweredNoChangesNothingNotEvenTheTitle) {
    DocumentWorld w;
    w.makeDirty(aShow(), w.path("a.SCN"));
    w.answer(MessageAnswer::No);
    w.commands.New();
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.scenes, aShow());
    EXPECT_EQ(w.document.CurrentFile, w.path("a.SCN"));
    EXPECT_TRUE(w.document.Changed);
    EXPECT_TRUE(w.titles.empty());
}

TEST(DocumentCommands, FirstOpenStartsAtTheInitialNameAndLoadsTheChosenFile) {
    DocumentWorld w;
    w.saveFile("show.SCN", aShow());
    w.choose(w.path("show.SCN"));
    w.commands.Open();
    ASSERT_EQ(w.cdFile.shown.size(), 1u);
    EXPECT_EQ(w.cdFile.shown[0].kind, Kind::Open);
    EXPECT_EQ(w.cdFile.shown[0].fileName, kInitial);
    EXPECT_EQ(w.cdFile.shown[0].filter, kFilter);
    EXPECT_EQ(w.cdFile.shown[0].flags, 6150);
    EXPECT_TRUE(w.document.DialogInitDone);
    EXPECT_EQ(w.scenes, aShow());
    EXPECT_EQ(w.document.CurrentFile, w.path("show.SCN"));
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{w.path("show.SCN")});
}

TEST(DocumentCommands, OpenAnsweredYesThenCancelledKeepsEverythingButRefreshes) {
    DocumentWorld w;
    w.makeDirty(aShow(), w.path("a.SCN"));
    w.choose(std::nullopt);
    w.commands.Open();
    EXPECT_EQ(w.messages.shown, std::vector<Message>{kQuestion});
    EXPECT_EQ(w.cdFile.shown.size(), 1u);
    EXPECT_EQ(w.scenes, aShow());
    EXPECT_EQ(w.document.CurrentFile, w.path("a.SCN"));
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{w.path("a.SCN")});
    EXPECT_TRUE(w.document.DialogInitDone);  // the first dialog was prepared, though cancelled
}

TEST(DocumentCommands, OpenAnsweredNoShowsNoDialogButRefreshes) {
    DocumentWorld w;
    w.makeDirty(aShow(), "None");
    w.answer(MessageAnswer::No);
    w.commands.Open();
    EXPECT_TRUE(w.cdFile.shown.empty());
    EXPECT_FALSE(w.document.DialogInitDone);
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{"None"});
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
        EXPECT_EQ(w.scenes, aShow());
        EXPECT_EQ(w.document.CurrentFile, "None");
        EXPECT_TRUE(w.document.Changed);
        EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files), QStringList{});
    }
}

TEST(DocumentCommands, DialogsStartWhereThePreviousOneLeftTheName) {
    DocumentWorld w;
    w.saveFile("a.SCN", aShow());
    w.choose(w.path("a.SCN"));
    w.commands.Open();  // first of the run: the initial name
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
        starts.push_back(s.fileName);
        EXPECT_EQ(s.filter, kFilter);
        EXPECT_EQ(s.flags, 6150);
    }
    EXPECT_EQ(starts, (std::vector<QString>{kInitial, w.path("a.SCN"), w.path("b.SCN"), "", ""}));
}

TEST(DocumentCommands, FirstSaveAsOfTheRunStartsAtTheInitialNameAndNeverAsks) {
    DocumentWorld w;
    w.makeDirty(aShow(), "None");
    w.choose(w.path("new.SCN"));
    w.commands.SaveAs();
    ASSERT_EQ(w.cdFile.shown.size(), 1u);
    EXPECT_EQ(w.cdFile.shown[0].kind, Kind::Save);
    EXPECT_EQ(w.cdFile.shown[0].fileName, kInitial);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.document.CurrentFile, w.path("new.SCN"));
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{w.path("new.SCN")});
    SceneTable back;
    QString error;
    ASSERT_TRUE(LoadSceneFile(w.path("new.SCN"), back, &error));
    EXPECT_EQ(back, aShow());
}

TEST(DocumentCommands, SaveWithoutAFileRunsSaveAsAndItsCancelKeepsEverything) {
    DocumentWorld w;
    w.makeDirty(aShow(), "None");
    w.choose(std::nullopt);
    w.commands.Save();
    ASSERT_EQ(w.cdFile.shown.size(), 1u);
    EXPECT_EQ(w.cdFile.shown[0].kind, Kind::Save);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{"None"});
}

TEST(DocumentCommands, SaveIsComparedWithNoneExactly) {
    DocumentWorld w;
    w.makeDirty(aShow(), w.path("none"));  // a file that happens to be called "none"
    w.commands.Save();
    EXPECT_TRUE(w.cdFile.shown.empty());
    EXPECT_EQ(bytesOf(w.path("none")).size(), 8192);
}

TEST(DocumentCommands, SaveWithAFileWritesAtOnceWithoutDialogOrQuestion) {
    DocumentWorld w;
    w.saveFile("show.SCN", SceneTable{});
    w.makeDirty(aShow(), w.path("show.SCN"));
    w.commands.Save();
    EXPECT_TRUE(w.cdFile.shown.empty());
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.titles, std::vector<QString>{w.path("show.SCN")});
    SceneTable back;
    QString error;
    ASSERT_TRUE(LoadSceneFile(w.path("show.SCN"), back, &error));
    EXPECT_EQ(back, aShow());
}

TEST(DocumentCommands, ExitAndCloseAskWhileChanged) {
    struct Case {
        bool changed = false;
        std::optional<MessageAnswer> answer;
        bool closes = false;
        size_t asked = 0;
    } cases[] = {
        {false, std::nullopt, true, 0},
        {true, MessageAnswer::Yes, true, 1},
        {true, MessageAnswer::No, false, 1},
    };
    for (const Case& c : cases) {
        DocumentWorld w;
        w.document.Changed = c.changed;
        if (c.answer) w.answer(*c.answer);
        EXPECT_EQ(w.commands.Unload(), c.closes);
        EXPECT_EQ(w.messages.shown.size(), c.asked);
        EXPECT_EQ(w.document.Changed, c.changed);  // nothing is saved or cleared on the way
    }
}

TEST(DocumentCommands, AFileThatCannotBeOpenedIsReportedAndNothingChanges) {
    DocumentWorld w;
    {
        QFile f(w.path("short.SCN"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, '\x05'));
    }
    QDir(w.dir.path()).mkdir("folder.SCN");
    struct Case {
        QString name;
        QString reason;
    } cases[] = {
        {"short.SCN", "the file is shorter than a scene file (100 of 8192 bytes)"},
        {"folder.SCN", "it is a folder"},
        {"missing.SCN", "the file does not exist"},
    };
    for (const Case& c : cases) {
        w.makeDirty(aShow(), w.path("current.SCN"));
        w.messages.shown.clear();
        w.titles.clear();
        w.choose(w.path(c.name));
        w.commands.Open();
        ASSERT_EQ(w.messages.shown.size(), 2u)
            << c.name.toStdString();  // the question, the problem
        EXPECT_EQ(w.messages.shown[1],
                  messages::problem(
                      QStringLiteral("Could not open %1: %2.").arg(w.path(c.name), c.reason)));
        EXPECT_EQ(w.messages.shown[1].icon, MessageIcon::Critical);
        EXPECT_EQ(w.messages.shown[1].title, "Error");
        EXPECT_EQ(w.scenes, aShow());
        EXPECT_EQ(w.document.CurrentFile, w.path("current.SCN"));
        EXPECT_TRUE(w.document.Changed);
        EXPECT_EQ(w.titles, std::vector<QString>{w.path("current.SCN")});
    }
}

TEST(DocumentCommands, AFailedSaveAsIsReportedAndKeepsTheDocumentAsItWas) {
    struct Case {
        QString name;
        QString reason;
    };
    for (const Case& c : {Case{"gone/x.SCN", "the folder does not exist"},
                          Case{"pipe", "it is not a regular file (it is a named pipe)"}}) {
        DocumentWorld w;
        ASSERT_EQ(mkfifo(QFile::encodeName(w.path("pipe")).constData(), 0666), 0);
        w.makeDirty(aShow(), "None");
        const QString target = w.path(c.name);
        w.choose(target);
        w.commands.SaveAs();
        EXPECT_EQ(w.messages.shown,
                  std::vector<Message>{messages::problem("Could not save " + target + ": " + c.reason + ".")});
        EXPECT_EQ(w.document.CurrentFile, "None");
        EXPECT_TRUE(w.document.Changed);
        EXPECT_EQ(w.titles, std::vector<QString>{"None"});
        EXPECT_TRUE(QFileInfo(w.path("pipe")).exists() && !QFileInfo(w.path("pipe")).isFile());
    }
}

TEST(DocumentCommands, AFailedSaveKeepsTheOldFileAndChanged) {
    DocumentWorld w;
    ASSERT_TRUE(QDir(w.dir.path()).mkdir("show.SCN"));  // the name is taken by a folder now
    w.makeDirty(aShow(), w.path("show.SCN"));
    w.commands.Save();
    EXPECT_EQ(w.messages.shown, std::vector<Message>{messages::problem(
                                    "Could not save " + w.path("show.SCN") + ": it is a folder.")});
    EXPECT_EQ(w.document.CurrentFile, w.path("show.SCN"));
    EXPECT_TRUE(w.document.Changed);
}

TEST(DocumentCommands, AShowSavedAndReopenedIsTheSameByteForByte) {
    DocumentWorld w;
    w.makeDirty(aShow(), "None");
    w.choose(w.path("show.SCN"));
    w.commands.Save();
    const QByteArray first = bytesOf(w.path("show.SCN"));
    ASSERT_EQ(first.size(), 8192);
    w.commands.New();
    ASSERT_EQ(w.scenes, SceneTable{});
    w.choose(w.path("show.SCN"));
    w.commands.Open();
    EXPECT_EQ(w.scenes, aShow());
    w.document.Changed = true;
    w.commands.Save();
    EXPECT_EQ(bytesOf(w.path("show.SCN")), first);
    EXPECT_TRUE(w.messages.shown.empty());
}

}  // namespace
}  // namespace corvane
