// The Edit menu, a file named at start-up and the close request on the main window: what
// the user sees in the file-name display, and how often "Discard Any Changes?" comes up before the
// window closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>

#include "document/scene_file.h"
#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

SceneTable aShow() {
    SceneTable t;
    for (int i = 0; i < kLevelCount; ++i) t.storage()[i] = static_cast<int16_t>(255 - i % 256);
    return t;
}

class FileMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.window->show();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString label() const { return w.window->lblFileName->text(); }

    QTemporaryDir dir;
    MainWindowWorld w;
};
using OpenAtStart = FileMenu;
using EditMenu = FileMenu;

TEST(CloseRequest, ExitAndTheCloseBoxAskOnceWhileChangedAndCloseOnYes) {
    struct Case {
        bool byExit;
        bool changed;
        MessageAnswer answer;
        size_t asked;
        bool closes;
    };
    for (const Case c : {Case{true, false, MessageAnswer::Ok, 0, true},
                         Case{true, true, MessageAnswer::Yes, 1, true},
                         Case{true, true, MessageAnswer::No, 1, false},
                         Case{false, true, MessageAnswer::Yes, 1, true},
                         Case{false, true, MessageAnswer::No, 1, false}}) {
        SCOPED_TRACE(testing::Message() << (c.byExit ? "Exit" : "close box") << ", answer "
                                        << static_cast<int>(c.answer));
        MainWindowWorld w;
        w.window->show();
        w.document.Changed = c.changed;
        w.messages.answers.push_back(c.answer);
        if (c.byExit)
            w.window->mnuExit->trigger();
        else
            w.window->close();
        EXPECT_EQ(w.messages.shown.size(), c.asked);
        EXPECT_EQ(w.window->isVisible(), !c.closes);
        EXPECT_EQ(w.document.Changed, c.changed);  // nothing is saved on the way out
    }
    // The answer belonged to that Exit: a later close request asks afresh.
    MainWindowWorld w;
    w.window->show();
    w.document.Changed = true;
    w.messages.answers = {MessageAnswer::Yes, MessageAnswer::No};
    w.window->mnuExit->trigger();
    ASSERT_FALSE(w.window->isVisible());
    w.window->show();
    w.window->close();
    EXPECT_EQ(w.messages.shown.size(), 2u);
    EXPECT_TRUE(w.window->isVisible());
}

TEST_F(OpenAtStart, LoadsTheFileAndShowsItsName) {
    QString error;
    ASSERT_TRUE(SaveSceneFile(path("show.SCN"), aShow(), &error)) << error.toStdString();
    w.window->openAtStart(path("show.SCN"));
    EXPECT_EQ(w.scenes, aShow());
    EXPECT_EQ(w.document.CurrentFile, path("show.SCN"));
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(label(), " File: " + path("show.SCN"));
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_TRUE(w.cdFile.shown.empty());
}

TEST_F(OpenAtStart, AFileThatCannotBeLoadedIsNamedAndNothingChanges) {
    w.window->openAtStart(path("missing.SCN"));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_TRUE(w.messages.shown[0].text.contains("missing.SCN"))
        << w.messages.shown[0].text.toStdString();
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_EQ(label(), " File: None");
    EXPECT_EQ(w.scenes, SceneTable{});
}

TEST_F(EditMenu, ClosingTheEditorWithoutAnEditStillMarksTheDocumentChanged) {
    w.window->mnuEdit->trigger();
    EXPECT_EQ(w.editor.openings, 1);
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.scenes, SceneTable{});
}

TEST_F(EditMenu, TheEditorWorksOnTheWindowsOwnTable) {
    w.editor.edit = [&](SceneTable& scenes) {
        EXPECT_EQ(&scenes, &w.scenes);
        EXPECT_FALSE(w.document.Changed);  // set only once the editor has closed
        scenes(4, 17) = 127;
    };
    w.window->mnuEdit->trigger();
    EXPECT_EQ(w.scenes, SceneTable::with({{4, 17, 127}}));
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.document.CurrentFile, "None");
}

}  // namespace
}  // namespace corvane
