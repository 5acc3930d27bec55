// The main window's Edit command opens the editor modally and marks the document changed.
#include <gtest/gtest.h>

#include <QAction>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

TEST(EditMenu, ClosingTheEditorWithoutAnEditStillMarksTheDocumentChanged) {
    MainWindowWorld w;
    ASSERT_FALSE(w.document.Changed);
    w.window->mnuEdit->trigger();
    EXPECT_EQ(w.editor.openings, 1);
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.scenes, SceneTable{});
}

TEST(EditMenu, TheEditorWorksOnTheWindowsOwnTable) {
    MainWindowWorld w;
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
