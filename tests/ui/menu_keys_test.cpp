// The menus from the keyboard: Alt and a letter open File and run Edit, and File's entries have
// the usual shortcuts, each running exactly what its entry runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <ostream>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

// A window the keyboard reaches, with unsaved changes, so every command has something to do.
struct KeyboardWorld : testing_support::MainWindowWorld {
    KeyboardWorld() {
        document.Changed = true;
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void press(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    }
    // What the commands run so far left behind, as far as the technician can tell.
    QStringList trace() const {
        QStringList t;
        for (const Message& m : messages.shown) t << m.text;
        for (const auto& d : cdFile.shown)
            t << (d.kind == testing_support::ScriptedFileDialog::Kind::Open ? "Open dialog"
                                                                            : "Save dialog");
        t << document.CurrentFile << (document.Changed ? "changed" : "unchanged")
          << (window->isVisible() ? "open" : "closed") << QString::number(editor.openings);
        return t;
    }
};

struct ShortcutCase {
    const char* entry;
    std::function<QAction*(frmCVSceneTool&)> action;
    QKeyCombination keys;
};
void PrintTo(const ShortcutCase& c, std::ostream* os) {
    *os << c.entry;
}

class FileShortcut : public testing::TestWithParam<ShortcutCase> {};

TEST_P(FileShortcut, RunsWhatItsMenuEntryRuns) {
    const ShortcutCase& c = GetParam();
    KeyboardWorld byMenu;
    const QStringList untouched = byMenu.trace();
    QAction* entry = c.action(*byMenu.window);
    EXPECT_EQ(entry->shortcut(), QKeySequence(c.keys));
    entry->trigger();
    KeyboardWorld byKeys;
    byKeys.press(c.keys);

    EXPECT_NE(byMenu.trace(), untouched) << "the entry did nothing to compare with";
    EXPECT_EQ(byKeys.trace(), byMenu.trace());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FileShortcut,
    testing::Values(
        ShortcutCase{"New", [](frmCVSceneTool& w) { return w.mnuNew; }, Qt::CTRL | Qt::Key_N},
        ShortcutCase{"Open", [](frmCVSceneTool& w) { return w.mnuOpen; }, Qt::CTRL | Qt::Key_O},
        ShortcutCase{"Save", [](frmCVSceneTool& w) { return w.mnuSave; }, Qt::CTRL | Qt::Key_S},
        ShortcutCase{"Save As", [](frmCVSceneTool& w) { return w.mnuSaveAs; },
                     Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        ShortcutCase{"Exit", [](frmCVSceneTool& w) { return w.mnuExit; }, Qt::CTRL | Qt::Key_Q}));

TEST(MenuKeys, AltAndTheCaptionsFirstLetterOpenFileAndRunEdit) {
    KeyboardWorld w;
    const QList<QAction*> top = w.window->menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(QKeySequence::mnemonic(top[3]->text()), QKeySequence(Qt::ALT | Qt::Key_T));
    EXPECT_EQ(QKeySequence::mnemonic(top[0]->text()), QKeySequence(Qt::ALT | Qt::Key_F));
    EXPECT_EQ(QKeySequence::mnemonic(top[1]->text()), QKeySequence(Qt::ALT | Qt::Key_E));
    EXPECT_EQ(QKeySequence::mnemonic(top[2]->text()), QKeySequence(Qt::ALT | Qt::Key_C));

    w.press(Qt::ALT | Qt::Key_F);
    EXPECT_TRUE(top[0]->menu()->isVisible());
    top[0]->menu()->hide();
    w.press(Qt::ALT | Qt::Key_E);
    EXPECT_EQ(w.editor.openings, 1);
}

}  // namespace
}  // namespace corvane
