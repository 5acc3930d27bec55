// The Scene Grid through its window: levels typed, filled, pasted and deleted as the chooser
// stores them, refusals that change nothing, one history with Changed, and the clipboard.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>

#include "scale/level_scale.h"
#include "tests/support/choose_entry.h"
#include "tests/support/scene_files.h"
#include "tests/support/simulated_window_world.h"
#include "ui/editor/dimmer_label.h"
#include "ui/editor/scene_editor_window.h"
#include "ui/grid/scene_grid_model.h"
#include "ui/grid/scene_grid_window.h"
#include "ui/grid/scene_history.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

template <typename World = MainWindowWorld>
struct Grid : World {
    SceneGridWindow* grid = nullptr;
    Grid() {
        this->scenes.fill(128);  // off the percent scale: every edit changes it
        this->window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this->window.get()));
        QTest::keyClick(this->window.get(), Qt::Key_G, Qt::ControlModifier);
        grid = this->window->grid();
        if (grid == nullptr) throw std::logic_error("Ctrl+G opened no grid");
        EXPECT_TRUE(QTest::qWaitForWindowExposed(grid));
        grid->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(grid));
        grid->view->setFocus();
    }
    QModelIndex cell(int s, int d) const { return grid->model->index(s, d); }
    void select(int top, int left, int bottom, int right) {
        grid->view->setCurrentIndex(cell(top, left));
        grid->view->selectionModel()->select(QItemSelection(cell(top, left), cell(bottom, right)),
                                             QItemSelectionModel::ClearAndSelect);
    }
    // The first key opens the cell's editor, as on a spreadsheet.
    void type(const QString& text, Qt::KeyboardModifiers enter = Qt::NoModifier) {
        QTest::keyClicks(grid->view, text.left(1));
        auto* editor = grid->view->template findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return, enter);
        QCoreApplication::processEvents();  // Enter commits once the editor has seen it
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(grid->view, Qt::Key_V, Qt::ControlModifier);
    }
};
using GridWorld = Grid<>;

struct EditCase {
    const char* what;
    std::function<void(GridWorld&)> edit;
    std::vector<LevelChange> levels;  // on a table of 128s
    const char* undo;
};

TEST(SceneGrid, EditsLandAsTheChooserStoresThemAndUndoRestoresLevelsAndChanged) {
    const auto typed = [](int s, int d, const char* t, Qt::KeyboardModifiers m = {}) {
        return [=](GridWorld& w) { w.select(s, d, s, d), w.type(t, m); };
    };
    const EditCase cases[] = {
        {"typed", typed(2, 3, "50"), {{2, 3, 127}}, "Undo Typing at Scene 03, Dimmer 01.4"},
        {"typed with %", typed(0, 0, " 1% "), {{0, 0, 2}}, "Undo Typing at Scene 01, Dimmer 01.1"},
        {"filled",
         [](GridWorld& w) { w.select(0, 0, 1, 1), w.type("100", Qt::ControlModifier); },
         {{0, 0, 255}, {0, 1, 255}, {1, 0, 255}, {1, 1, 255}},
         "Undo Fill of 4 levels"},
        {"pasted block",
         [](GridWorld& w) { w.select(5, 5, 5, 5), w.paste("0\t1\r\n100\t99\n"); },
         {{5, 5, 0}, {5, 6, 2}, {6, 5, 255}, {6, 6, 252}},
         "Undo Paste of 4 levels"},
        {"one value over the selection",
         [](GridWorld& w) { w.select(10, 0, 10, 2), w.paste("25%\n"); },
         {{10, 0, 63}, {10, 1, 63}, {10, 2, 63}},
         "Undo Paste of 3 levels"},
        {"deleted",
         [](GridWorld& w) {
             w.select(63, 62, 63, 63), QTest::keyClick(w.grid->view, Qt::Key_Delete);
         },
         {{63, 62, 0}, {63, 63, 0}},
         "Undo Delete of 2 levels"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        GridWorld w;
        const SceneTable before = w.scenes;
        SceneTable after = before;
        for (const LevelChange& l : c.levels) after(l.scene, l.dimmer) = l.level;
        c.edit(w);
        EXPECT_TRUE(w.messages.shown.empty());
        EXPECT_EQ(w.scenes, after);
        EXPECT_TRUE(w.document.Changed);
        EXPECT_EQ(w.window->mnuUndo->text(), c.undo);
        EXPECT_EQ(w.window->history().stack().count(), 1);
        w.window->mnuUndo->trigger();
        EXPECT_EQ(w.scenes, before);
        EXPECT_FALSE(w.document.Changed);
        QTest::keyClick(w.grid->view, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(w.scenes, after);
        EXPECT_TRUE(w.document.Changed);
        EXPECT_EQ(w.cell(c.levels[0].scene, c.levels[0].dimmer).data(),
                  QString::fromStdString(LevelText(c.levels[0].level)));
    }
}

TEST(SceneGrid, ARefusedValueOrBlockNamesTheCellAndChangesNothing) {
    struct Case {
        std::function<void(GridWorld&)> act;
        QString text;  // empty: any refusal
    };
    const Case cases[] = {
        {[](GridWorld& w) { w.select(4, 1, 4, 1), w.type("abc"); },
         "Scene 05, Dimmer 01.2: \"abc\" is not a percent from 0 to 100. No level was changed."},
        {[](GridWorld& w) { w.type("101"); }, {}},
        {[](GridWorld& w) { w.type("-5"); }, {}},
        {[](GridWorld& w) { w.type("50.5"); }, {}},
        {[](GridWorld& w) { w.select(0, 0, 3, 3), w.type("x", Qt::ControlModifier); }, {}},
        {[](GridWorld& w) { w.paste("50\t60\n50\tx\n"); },
         "Row 2, column 2 of the pasted text holds \"x\" for Scene 02, Dimmer 01.2, which is not "
         "a percent from 0 to 100. Nothing was pasted."},
        {[](GridWorld& w) { w.select(0, 62, 0, 62), w.paste("1\t2\t3\n"); },
         "Row 1, column 3 of the pasted text falls past the table's edge (Scene 64, Dimmer "
         "10.4). Nothing was pasted."},
        {[](GridWorld& w) { w.paste("\n"); }, "The clipboard holds no text to paste."},
    };
    for (const Case& c : cases) {
        GridWorld w;
        const SceneTable before = w.scenes;
        c.act(w);
        ASSERT_EQ(w.messages.shown.size(), 1u) << c.text.toStdString();
        EXPECT_EQ(w.messages.shown[0].title, "Error");
        if (!c.text.isEmpty()) {
            EXPECT_EQ(w.messages.shown[0].text, c.text);
        }
        EXPECT_EQ(w.scenes, before);
        EXPECT_FALSE(w.document.Changed);
        EXPECT_EQ(w.window->history().stack().count(), 0);
    }
}

// A block copied out and pasted elsewhere lands byte for byte; a scene's row copies the scene.
TEST(SceneGrid, CopiedTextPastesBackByteForByte) {
    GridWorld w;
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            w.scenes(s, d) = *PcntToLvl(static_cast<int16_t>((s * 7 + d * 3) % 101));
    SceneTable expected = w.scenes;
    w.select(0, 0, 1, 2);
    QTest::keyClick(w.grid->view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0\t3\t6\n7\t10\t13\n");

    w.select(2, 10, 40, 30);
    QTest::keyClick(w.grid->view, Qt::Key_C, Qt::ControlModifier);
    w.select(25, 43, 25, 43);
    QTest::keyClick(w.grid->view, Qt::Key_V, Qt::ControlModifier);
    for (int s = 2; s <= 40; ++s)
        for (int d = 10; d <= 30; ++d) expected(s + 23, d + 33) = expected(s, d);
    EXPECT_EQ(testing_support::SceneBytes(w.scenes), testing_support::SceneBytes(expected));

    const auto clickScene = [&w](int s) {
        QHeaderView* rows = w.grid->view->verticalHeader();
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          QPoint(5, rows->sectionViewportPosition(s) + 5));
    };
    clickScene(2);
    QTest::keyClick(w.grid->view, Qt::Key_C, Qt::ControlModifier);
    clickScene(4);
    QTest::keyClick(w.grid->view, Qt::Key_V, Qt::ControlModifier);
    for (int d = 0; d < kDimmerCount; ++d) EXPECT_EQ(w.scenes(4, d), w.scenes(2, d));
    EXPECT_EQ(w.window->mnuUndo->text(), "Undo Paste of 64 levels");
}

TEST(SceneGrid, CellsReadAsTheEditorShowsThemOnTheirGreyAndToAScreenReader) {
    GridWorld w;
    w.scenes(0, 0) = 255, w.scenes(63, 63) = 300, w.scenes(1, 0) = 0;
    const SceneGridModel& m = *w.grid->model;
    EXPECT_EQ(m.headerData(0, Qt::Vertical), "Scene: 01");
    EXPECT_EQ(m.headerData(63, Qt::Vertical), "Scene: 64");
    EXPECT_EQ(m.headerData(0, Qt::Horizontal), "Dimmer 01.1");
    EXPECT_EQ(m.headerData(63, Qt::Horizontal), "Dimmer 10.4");
    EXPECT_EQ(w.cell(63, 63).data(), "?%");
    EXPECT_EQ(w.cell(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(w.cell(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::black));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.grid->view);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->cellAt(2, 0)->text(QAccessible::Name),
              "Scene 03, Dimmer 01.1, 50%");
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name),
              "Scene 01, Dimmer 01.1, 100%");
}

// Get, Open and New start the history again; Save marks where undoing clears Changed.
TEST(SceneGridHistory, ReplacingTheTableClearsItAndSaveMarksItClean) {
    Grid<testing_support::SimulatedWorld> w;
    w.type("10");
    w.window->cmdGetScenes_Click();
    EXPECT_EQ(w.scenes, DemoShow());
    EXPECT_EQ(w.window->history().stack().count(), 0);
    EXPECT_EQ(w.cell(0, 0).data(), QString::fromStdString(LevelText(DemoShow()(0, 0))));
    w.type("20");
    w.window->mnuUndo->trigger();
    EXPECT_TRUE(w.document.Changed) << "the controller's table is no file's";

    const QTemporaryDir dir;
    w.cdFile.choices = {dir.filePath("show.SCN"), dir.filePath("show.SCN")};
    w.window->mnuSaveAs_Click();
    w.type("30");
    w.window->mnuUndo->trigger();
    EXPECT_FALSE(w.document.Changed);
    w.window->mnuRedo->trigger();
    EXPECT_TRUE(w.document.Changed);
    w.window->mnuOpen_Click();
    EXPECT_EQ(w.window->history().stack().count(), 0);
    EXPECT_FALSE(w.document.Changed);
    w.type("40");
    w.window->mnuNew_Click();
    EXPECT_EQ(w.window->history().stack().count(), 0);
}

// The grid shows what the editor chose; in the editor each choice is a step Ctrl+Z takes back.
TEST(SceneGridHistory, TheGridFollowsTheEditorWhoseChoicesAreUndone) {
    GridWorld w;
    w.editor.edit = [](SceneTable& t) { t(7, 9) = 255; };
    w.window->mnuEdit_Click();
    EXPECT_EQ(w.cell(7, 9).data(), "100%");

    frmCVSceneToolEdit editor(w.window->history());
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    editor.lblDimLvl_Click(3);
    testing_support::chooseEntry(editor.cboLevel, 20);
    EXPECT_EQ(w.scenes(0, 3), 51);
    EXPECT_EQ(w.cell(0, 3).data(), "20%");
    EXPECT_EQ(w.window->mnuUndo->text(), "Undo Choice at Scene 01, Dimmer 01.4");
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.scenes(0, 3), 128);
    EXPECT_EQ(editor.lblDimLvl[3]->text(), "50%");
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.cell(0, 3).data(), "20%");
}

TEST(SceneGridWindow, OpensWhereItWasLastClosed) {
    const QRect placed(40, 50, 700, 420);
    {
        GridWorld w;
        w.grid->setGeometry(placed);
        w.grid->close();
    }
    GridWorld again;
    EXPECT_EQ(again.grid->geometry(), placed);
    EXPECT_EQ(again.grid->windowTitle(), "Scene Grid");
}

}  // namespace
}  // namespace corvane
