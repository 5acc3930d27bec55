// A scene file named on the command line opens as File > Open would open it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include "document/scene_file.h"
#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

TEST(OpenAtStart, LoadsTheFileAndShowsItsName) {
    QTemporaryDir dir;
    const QString path = dir.filePath("show.SCN");
    const SceneTable show = SceneTable::with({{3, 4, 200}});
    QString error;
    ASSERT_TRUE(SaveSceneFile(path, show, &error)) << error.toStdString();

    MainWindowWorld w;
    w.window->openAtStart(path);
    EXPECT_EQ(w.scenes, show);
    EXPECT_EQ(w.document.CurrentFile, path);
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.window->lblFileName->text(), " File: " + path);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_TRUE(w.cdFile.shown.empty());
}

TEST(OpenAtStart, AFileThatCannotBeLoadedIsNamedAndNothingChanges) {
    QTemporaryDir dir;
    MainWindowWorld w;
    w.window->openAtStart(dir.filePath("missing.SCN"));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_TRUE(w.messages.shown[0].text.contains("missing.SCN"))
        << w.messages.shown[0].text.toStdString();
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_EQ(w.scenes, SceneTable{});
}

}  // namespace
}  // namespace corvane
