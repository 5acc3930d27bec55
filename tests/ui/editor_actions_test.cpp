// Editing levels in the scene editor through real clicks and choices.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeySequence>
#include <QPushButton>
#include <initializer_list>
#include <string>

#include "tests/ui/editor_world.h"

namespace corvane {
namespace {

using testing_support::chooseEntry;
using testing_support::EditorWorld;

bool chooserOpenOn(const EditorWorld& w, int d) {
    return w.editor->cboLevel->isVisible() &&
           w.editor->cboLevel->pos() == w.editor->lblDimLvl[d]->pos();
}

TEST(EditorChooser, OpensOverTheClickedLabelShowingItsPercentage) {
    EditorWorld w(SceneTable::with({{0, 39, 191}}));
    w.clickLevel(39);
    EXPECT_TRUE(chooserOpenOn(w, 39));
    EXPECT_EQ(w.editor->cboLevel->pos(), QPoint(352, 208));
    EXPECT_EQ(w.editor->cboLevel->currentText(), "75%");
    // The chooser lies above the labels: a click at the label's place reaches the chooser.
    EXPECT_EQ(w.editor->childAt(QPoint(353, 209)), w.editor->cboLevel);
    EXPECT_EQ(w.editor->childAt(QPoint(352 + 56, 208 + 20)), w.editor->cboLevel);
}

TEST(EditorChooser, ClickingAnotherLabelMovesTheChooserAndRestoresTheFirstLabel) {
    EditorWorld w;
    w.clickLevel(5);
    w.clickLevel(50);
    EXPECT_TRUE(chooserOpenOn(w, 50));
    EXPECT_TRUE(w.editor->lblDimLvl[5]->isVisible());
    chooseEntry(w.editor->cboLevel, 100);
    EXPECT_EQ(w.scenes(0, 50), 255);
    EXPECT_EQ(w.scenes(0, 5), 0);
}

TEST(EditorChoice, StoresTheRoundedDownLevelAndClosesTheChooser) {
    struct Case {
        int16_t start;
        int entry;
        int16_t stored;
        const char* shown;
    };
    // The last: choosing the shown percent of a level off the scale moves it onto the scale.
    for (const Case c : {Case{0, 100, 255, "100%"}, Case{0, 50, 127, "50%"}, Case{0, 1, 2, "1%"},
                         Case{0, 25, 63, "25%"}, Case{0, 0, 0, "0%"}, Case{128, 50, 127, "50%"}}) {
        SCOPED_TRACE(testing::Message() << c.start << ", then " << c.shown);
        EditorWorld w(SceneTable::with({{0, 0, c.start}}));
        w.clickLevel(0);
        chooseEntry(w.editor->cboLevel, c.entry);
        EXPECT_EQ(w.scenes(0, 0), c.stored);
        EXPECT_EQ(w.editor->lblDimLvl[0]->text(), c.shown);
        EXPECT_FALSE(w.editor->cboLevel->isVisible());
        EXPECT_TRUE(w.editor->lblDimLvl[0]->isVisible());
    }
}

TEST(EditorChoice, KeyboardChoiceInTheChooserStoresToo) {
    EditorWorld w(SceneTable::with({{0, 9, 127}}));
    w.clickLevel(9);
    w.editor->cboLevel->setFocus();
    QTest::keyClick(w.editor->cboLevel, Qt::Key_Down);
    EXPECT_EQ(w.scenes(0, 9), 130);  // 51%
    EXPECT_EQ(w.editor->lblDimLvl[9]->text(), "51%");
}

TEST(EditorChoice, EditChangesOnlyThatSceneAndDimmer) {
    SceneTable start;
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            start(s, d) = static_cast<int16_t>((s * 7 + d * 3) % 256);
    EditorWorld w(start);
    chooseEntry(w.editor->cboScene, 5);
    ASSERT_EQ(w.editor->cboScene->currentText(), "Scene: 06");
    w.clickLevel(39);
    chooseEntry(w.editor->cboLevel, 99);
    SceneTable expected = start;
    expected(5, 39) = 252;
    EXPECT_EQ(w.scenes, expected);
}

TEST(EditorClosingTheChooser, ChoosingAnySceneClosesItAndShowsThatSceneWithoutAChange) {
    const SceneTable start = SceneTable::with({{0, 3, 64}, {2, 3, 255}, {2, 4, 128}});
    EditorWorld w(start);
    w.clickLevel(3);
    chooseEntry(w.editor->cboScene, 2);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_EQ(w.editor->cboScene->currentText(), "Scene: 03");
    EXPECT_EQ(w.editor->lblDimLvl[3]->text(), "100%");
    EXPECT_EQ(w.editor->lblDimLvl[4]->text(), "50%");
    EXPECT_TRUE(w.editor->lblDimLvl[3]->isVisible());
    // The scene shown already closes it too.
    w.clickLevel(3);
    chooseEntry(w.editor->cboScene, 2);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[3]->isVisible());
    EXPECT_EQ(w.scenes, start);
}

// Opening the chooser shows the percent even of a level off the scale, and stores nothing.
TEST(EditorClosingTheChooser, NameLabelAndBackgroundClicksCloseItWithoutAChange) {
    const SceneTable start = SceneTable::with({{0, 20, 128}, {0, 21, 254}, {0, 22, 1}});
    EditorWorld w(start);
    w.clickLevel(20);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "50%");
    w.clickName(20);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[20]->isVisible());
    w.clickLevel(21);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "100%");
    w.clickBackground();
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[21]->isVisible());
    w.clickLevel(22);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "0%");
    w.clickBackground();
    EXPECT_EQ(w.editor->lblDimLvl[20]->text(), "50%");
    EXPECT_EQ(w.scenes, start);
}

TEST(EditorClosing, CloseButtonClosesWithoutTouchingTheTable) {
    const SceneTable start = SceneTable::with({{0, 0, 128}});
    EditorWorld w(start);
    w.clickLevel(0);
    QTest::mouseClick(w.editor->cmdClose, Qt::LeftButton);
    EXPECT_FALSE(w.editor->isVisible());
    EXPECT_EQ(w.scenes, start);
}

// Return and Enter in the lists stay there; on the Close button they press it. Escape never
// closes the window.
TEST(EditorClosing, ReturnAndEnterCloseOnlyFromTheCloseButtonAndEscapeNever) {
    struct Case {
        const char* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool closes;
    };
    for (const Case c :
         {Case{"scene list", Qt::Key_Return, {}, false},
          Case{"scene list", Qt::Key_Enter, Qt::KeypadModifier, false},
          Case{"level chooser", Qt::Key_Return, {}, false},
          Case{"level chooser", Qt::Key_Enter, Qt::KeypadModifier, false},
          Case{"Close", Qt::Key_Return, {}, true}, Case{"Close", Qt::Key_Escape, {}, false}}) {
        SCOPED_TRACE(c.focus + (", " + QKeySequence(c.key).toString().toStdString()));
        const SceneTable start = SceneTable::with({{0, 3, 128}});
        EditorWorld w(start);
        QWidget* target = w.editor->cmdClose;
        if (std::string(c.focus) == "scene list") target = w.editor->cboScene;
        if (std::string(c.focus) == "level chooser") {
            w.clickLevel(3);
            target = w.editor->cboLevel;
        }
        target->setFocus();
        QTest::keyClick(target, c.key, c.modifiers);
        EXPECT_EQ(w.editor->isVisible(), !c.closes);
        EXPECT_EQ(w.scenes, start);
    }
}

// Levels a scene file can hold although no editor or controller produces them: a marker, neither
// "100%" nor "0%", which they would otherwise pass for.
TEST(EditorForeignLevel, ShowsAMarkerAndStaysUntilALevelIsChosen) {
    for (const int16_t foreign : std::initializer_list<int16_t>{256, 300, -1, 32767, -32768}) {
        SCOPED_TRACE(foreign);
        const SceneTable start = SceneTable::with({{0, 10, foreign}, {0, 11, 255}});
        EditorWorld w(start);
        EXPECT_EQ(w.editor->lblDimLvl[10]->text(), "?%");
        EXPECT_TRUE(w.editor->lblDimLvl[10]->toolTip().contains(QString::number(foreign)));
        EXPECT_EQ(w.editor->lblDimLvl[11]->toolTip(), "");
        w.clickLevel(10);
        EXPECT_TRUE(chooserOpenOn(w, 10));
        EXPECT_EQ(w.editor->cboLevel->currentIndex(), -1);
        w.clickBackground();
        w.clickLevel(10);
        w.clickName(0);
        chooseEntry(w.editor->cboScene, 1);
        chooseEntry(w.editor->cboScene, 0);
        EXPECT_EQ(w.scenes, start);
        EXPECT_EQ(w.editor->lblDimLvl[10]->text(), "?%");

        w.clickLevel(10);
        chooseEntry(w.editor->cboLevel, 25);
        EXPECT_EQ(w.scenes(0, 10), 63);
        EXPECT_EQ(w.editor->lblDimLvl[10]->text(), "25%");
        EXPECT_EQ(w.editor->lblDimLvl[10]->toolTip(), "");
    }
}

}  // namespace
}  // namespace corvane
