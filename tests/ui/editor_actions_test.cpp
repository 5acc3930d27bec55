// Editing levels in the scene editor through real clicks and choices.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <ostream>
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

TEST(EditorChooser, OpeningStoresNothingEvenForALevelOffThePercentScale) {
    const SceneTable start = SceneTable::with({{0, 0, 128}, {0, 1, 254}, {0, 2, 1}});
    EditorWorld w(start);
    w.clickLevel(0);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "50%");
    w.clickLevel(1);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "100%");
    w.clickLevel(2);
    EXPECT_EQ(w.editor->cboLevel->currentText(), "0%");
    w.clickBackground();
    EXPECT_EQ(w.scenes, start);
    EXPECT_EQ(w.scenes(0, 0), 128);
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

struct ChoiceCase {
    int entry;
    int16_t stored;
    const char* shown;
};
void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.shown << " stores " << c.stored;
}
class EditorChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(EditorChoice, StoresTheRoundedDownLevelAndClosesTheChooser) {
    EditorWorld w;
    w.clickLevel(0);
    ASSERT_EQ(w.editor->cboLevel->currentText(), "0%");
    chooseEntry(w.editor->cboLevel, GetParam().entry);
    EXPECT_EQ(w.scenes(0, 0), GetParam().stored);
    EXPECT_EQ(w.editor->lblDimLvl[0]->text(), GetParam().shown);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[0]->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Entries, EditorChoice,
                         testing::Values(ChoiceCase{100, 255, "100%"}, ChoiceCase{50, 127, "50%"},
                                         ChoiceCase{1, 2, "1%"}, ChoiceCase{25, 63, "25%"},
                                         ChoiceCase{0, 0, "0%"}));

TEST(EditorChoice, ChoosingTheShownPercentMovesTheLevelOntoTheScale) {
    EditorWorld w(SceneTable::with({{0, 7, 128}}));
    w.clickLevel(7);
    chooseEntry(w.editor->cboLevel, 50);
    EXPECT_EQ(w.scenes(0, 7), 127);
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

TEST(EditorClosingTheChooser, SceneChoiceShowsTheOtherSceneWithoutAChange) {
    const SceneTable start = SceneTable::with({{0, 3, 64}, {2, 3, 255}, {2, 4, 128}});
    EditorWorld w(start);
    w.clickLevel(3);
    chooseEntry(w.editor->cboScene, 2);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_EQ(w.editor->cboScene->currentText(), "Scene: 03");
    EXPECT_EQ(w.editor->lblDimLvl[3]->text(), "100%");
    EXPECT_EQ(w.editor->lblDimLvl[4]->text(), "50%");
    EXPECT_TRUE(w.editor->lblDimLvl[3]->isVisible());
    EXPECT_EQ(w.scenes, start);
}

TEST(EditorClosingTheChooser, ChoosingTheSameSceneClosesItToo) {
    EditorWorld w;
    w.clickLevel(3);
    chooseEntry(w.editor->cboScene, 0);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[3]->isVisible());
}

TEST(EditorClosingTheChooser, NameLabelAndBackgroundClicksCloseItWithoutAChange) {
    const SceneTable start = SceneTable::with({{0, 20, 128}});
    EditorWorld w(start);
    w.clickLevel(20);
    w.clickName(20);
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[20]->isVisible());
    w.clickLevel(20);
    w.clickBackground();
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    EXPECT_TRUE(w.editor->lblDimLvl[20]->isVisible());
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

TEST(EditorClosing, EscapeDoesNotCloseTheWindow) {
    EditorWorld w;
    QTest::keyClick(w.editor->cmdClose, Qt::Key_Escape);
    EXPECT_TRUE(w.editor->isVisible());
}

// Return and Enter in the lists stay there; on the Close button they press it.
TEST(EditorClosing, ReturnAndEnterCloseOnlyFromTheCloseButton) {
    struct Case {
        const char* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool closes;
    };
    for (const Case c : {Case{"scene list", Qt::Key_Return, {}, false},
                         Case{"scene list", Qt::Key_Enter, Qt::KeypadModifier, false},
                         Case{"level chooser", Qt::Key_Return, {}, false},
                         Case{"level chooser", Qt::Key_Enter, Qt::KeypadModifier, false},
                         Case{"Close", Qt::Key_Return, {}, true}}) {
        SCOPED_TRACE(testing::Message()
                     << c.focus << (c.key == Qt::Key_Enter ? ", Enter" : ", Return"));
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
class EditorForeignLevel : public testing::TestWithParam<int16_t> {};

TEST_P(EditorForeignLevel, ShowsAMarkerAndStaysUntilALevelIsChosen) {
    const int16_t foreign = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Levels, EditorForeignLevel,
                         testing::Values(int16_t{256}, int16_t{300}, int16_t{-1}, int16_t{32767},
                                         int16_t{-32768}));

}  // namespace
}  // namespace corvane
