// The File menu and the close request on the main window: what the user sees in the file-name
// display, and how often "Discard Any Changes?" comes up before the window closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
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

TEST_F(FileMenu, OpenShowsTheFileAndNewShowsNone) {
    QString error;
    ASSERT_TRUE(SaveSceneFile(path("show.SCN"), aShow(), &error));
    w.cdFile.choices.emplace_back(path("show.SCN"));
    w.window->mnuOpen->trigger();
    EXPECT_EQ(label(), " File: " + path("show.SCN"));
    EXPECT_EQ(w.scenes, aShow());

    w.document.Changed = true;
    w.window->mnuNew->trigger();
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(label(), " File: None");
    EXPECT_EQ(w.scenes, SceneTable{});
    EXPECT_FALSE(w.document.Changed);
}

TEST_F(FileMenu, SaveAsThenSaveWriteTheShowUnderItsName) {
    w.scenes = aShow();
    w.document.Changed = true;
    w.cdFile.choices.emplace_back(path("new.SCN"));
    w.window->mnuSave->trigger();  // no file yet: runs Save As
    EXPECT_EQ(label(), " File: " + path("new.SCN"));
    EXPECT_FALSE(w.document.Changed);

    w.scenes(3, 4) = 9;
    w.window->mnuSave->trigger();
    EXPECT_EQ(w.cdFile.shown.size(), 1u);
    SceneTable back;
    QString error;
    ASSERT_TRUE(LoadSceneFile(path("new.SCN"), back, &error));
    EXPECT_EQ(back(3, 4), 9);
}

TEST_F(FileMenu, AFailedOpenKeepsTheDisplayAndSaysWhy) {
    QFile f(path("bad.SCN"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(10, '\0'));
    f.close();
    w.cdFile.choices.emplace_back(path("bad.SCN"));
    w.window->mnuOpen->trigger();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text,
              "Could not open " + path("bad.SCN") +
                  ": the file is shorter than a scene file (10 of 8192 bytes).");
    EXPECT_EQ(label(), " File: None");
}

TEST_F(FileMenu, ExitWithChangesAsksOnceAndClosesOnYes) {
    w.document.Changed = true;
    w.messages.answers.push_back(MessageAnswer::Yes);
    w.window->mnuExit->trigger();
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_TRUE(w.document.Changed);  // nothing is saved on the way out

    // The answer belonged to that Exit: a later close request asks afresh.
    w.window->show();
    w.messages.answers.push_back(MessageAnswer::No);
    w.window->close();
    EXPECT_EQ(w.messages.shown.size(), 2u);
    EXPECT_TRUE(w.window->isVisible());
}

TEST_F(FileMenu, ExitAnsweredNoKeepsTheWindowOpen) {
    w.document.Changed = true;
    w.messages.answers.push_back(MessageAnswer::No);
    w.window->mnuExit->trigger();
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_TRUE(w.document.Changed);
}

TEST_F(FileMenu, ExitWithoutChangesClosesAtOnce) {
    w.window->mnuExit->trigger();
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_FALSE(w.window->isVisible());
}

TEST_F(FileMenu, TheCloseBoxAsksOncePerRequest) {
    w.document.Changed = true;
    w.messages.answers.push_back(MessageAnswer::No);
    w.window->close();
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_TRUE(w.window->isVisible());

    w.messages.answers.push_back(MessageAnswer::Yes);
    w.window->close();
    EXPECT_EQ(w.messages.shown.size(), 2u);
    EXPECT_FALSE(w.window->isVisible());
}

}  // namespace
}  // namespace corvane
