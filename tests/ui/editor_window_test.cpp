// What the scene editor shows when it opens, and where its controls sit.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionComboBox>

#include "tests/ui/editor_world.h"

namespace corvane {
namespace {

using testing_support::EditorWorld;

TEST(EditorOpening, ShowsSceneOneWithItsPercentagesAndTheChooserClosed) {
    SceneTable start = SceneTable::with(
        {{0, 0, 0}, {0, 1, 1}, {0, 2, 254}, {0, 3, 255}, {0, 4, 128}, {0, 5, 18}, {0, 63, 191}});
    for (int d = 0; d < kDimmerCount; ++d) start(1, d) = 255;  // the next scene must not show
    EditorWorld w(start);
    EXPECT_EQ(w.editor->cboScene->currentText(), "Scene: 01");
    EXPECT_FALSE(w.editor->cboLevel->isVisible());
    const char* expected[] = {"0%", "0%", "100%", "100%", "50%", "7%"};
    for (int d = 0; d < 6; ++d)
        EXPECT_EQ(w.editor->lblDimLvl[d]->text(), expected[d]) << "dimmer " << d;
    for (int d = 6; d < 63; ++d) EXPECT_EQ(w.editor->lblDimLvl[d]->text(), "0%") << "dimmer " << d;
    EXPECT_EQ(w.editor->lblDimLvl[63]->text(), "75%");
    for (int d = 0; d < kDimmerCount; ++d) {
        EXPECT_TRUE(w.editor->lblDimLvl[d]->isVisible()) << "dimmer " << d;
        EXPECT_TRUE(w.editor->lblDimNum[d]->isVisible()) << "dimmer " << d;
    }
    EXPECT_EQ(w.scenes, start);  // showing a scene stores nothing
}

TEST(EditorOpening, ListsAreBuiltAnewAtEveryOpening) {
    EditorWorld w;
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        QComboBox* levels = w.editor->cboLevel;
        QComboBox* scenes = w.editor->cboScene;
        ASSERT_EQ(levels->count(), 101);
        EXPECT_EQ(levels->itemText(0), "0%");
        EXPECT_EQ(levels->itemText(7), "7%");
        EXPECT_EQ(levels->itemText(100), "100%");
        ASSERT_EQ(scenes->count(), 64);
        EXPECT_EQ(scenes->itemText(0), "Scene: 01");
        EXPECT_EQ(scenes->itemText(9), "Scene: 10");
        EXPECT_EQ(scenes->itemText(63), "Scene: 64");
        // The next opening starts on scene 1 again, whatever was shown before.
        scenes->setCurrentIndex(20);
        w.editor->close();
        w.open();
        EXPECT_EQ(w.editor->cboScene->currentIndex(), 0);
    }
}

TEST(EditorLayout, WindowIsAFixedDialogOfItsOwnCentredOnTheScreen) {
    EditorWorld w;
    EXPECT_EQ(w.editor->windowTitle(), "Ostrel Corvane Scene Tool");
    EXPECT_EQ(w.editor->size(), QSize(537, 457));
    EXPECT_EQ(w.editor->minimumSize(), w.editor->maximumSize());
    const Qt::WindowFlags flags = w.editor->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(w.editor->windowIcon().availableSizes().isEmpty());
    EXPECT_FALSE(w.editor->windowIcon().pixmap(32, 32).toImage() ==
                 QIcon(":/icons/corvane-scene-tool.png").pixmap(32, 32).toImage());
    const QRect screen = w.editor->screen()->geometry();
    const QPoint offset = w.editor->frameGeometry().center() - screen.center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
}

// Four columns of sixteen, each name with its level one pixel inside its right edge: exact
// places, so no label leaves the window, reaches Close or overlaps another.
TEST(EditorLayout, ControlsAndTheDimmersLabelsSitAtTheirDesignedPixels) {
    EditorWorld w;
    EXPECT_EQ(w.editor->cmdClose->geometry(), QRect(464, 424, 65, 25));
    EXPECT_EQ(w.editor->cmdClose->text(), "Close");
    EXPECT_EQ(w.editor->cboScene->geometry(), QRect(8, 8, 81, 21));
    EXPECT_EQ(w.editor->cboLevel->size(), QSize(57, 21));
    for (int d = 0; d < kDimmerCount; ++d) {
        const QPoint name(8 + 136 * (d / 16), 40 + 24 * (d % 16));
        const QString caption =
            QStringLiteral("Dimmer %1.%2")
                .arg(QString::number(d / 4 + 1, 16).toUpper().rightJustified(2, u'0'))
                .arg(d % 4 + 1);
        EXPECT_EQ(w.editor->lblDimNum[d]->geometry(), QRect(name, QSize(73, 17))) << d;
        EXPECT_EQ(w.editor->lblDimLvl[d]->geometry(), QRect(name + QPoint(72, 0), QSize(41, 17)))
            << d;
        EXPECT_EQ(w.editor->lblDimNum[d]->text(), caption) << d;
    }
    EXPECT_EQ(w.editor->lblDimNum[39]->text(), "Dimmer 0A.4");
    EXPECT_EQ(w.editor->lblDimLvl[63]->geometry(), QRect(488, 400, 41, 17));
}

TEST(EditorLayout, NameLabelsCyanLevelLabelsWhiteBothBorderedAndCentred) {
    EditorWorld w;
    for (int d = 0; d < kDimmerCount; ++d) {
        for (DimmerLabel* label : {w.editor->lblDimNum[d], w.editor->lblDimLvl[d]}) {
            EXPECT_EQ(label->frameShape(), QFrame::Box);
            EXPECT_EQ(label->lineWidth(), 1);
            EXPECT_EQ(label->alignment(), Qt::AlignCenter);
            EXPECT_TRUE(label->autoFillBackground());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        }
        EXPECT_EQ(w.editor->lblDimNum[d]->palette().color(QPalette::Window), QColor(0, 255, 255));
        EXPECT_EQ(w.editor->lblDimLvl[d]->palette().color(QPalette::Window), QColor(255, 255, 255));
    }
}

// The controls that Tab visits from Close, in order, up to Close again.
std::vector<QWidget*> tabStops(frmCVSceneToolEdit& editor) {
    std::vector<QWidget*> stops{editor.cmdClose};
    for (QWidget* w = editor.cmdClose->nextInFocusChain();
         w != editor.cmdClose && stops.size() < 200; w = w->nextInFocusChain()) {
        if (w->window() == &editor && w != &editor && (w->focusPolicy() & Qt::TabFocus))
            stops.push_back(w);
    }
    return stops;
}

TEST(EditorLayout, FocusStartsOnCloseAndTabRunsCloseScenesChooser) {
    EditorWorld w;
    EXPECT_EQ(w.editor->focusWidget(), w.editor->cmdClose);
    const std::vector<QWidget*> expected{w.editor->cmdClose, w.editor->cboScene,
                                         w.editor->cboLevel};
    EXPECT_EQ(tabStops(*w.editor), expected);
}

// The widest texts must fit the designed sizes in the window's font.
int textRoom(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    return combo->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
        .width();
}

TEST(EditorLayout, WidestTextsFitUnclipped) {
    EditorWorld w;
    const QFontMetrics scene(w.editor->cboScene->font());
    EXPECT_LE(scene.horizontalAdvance("Scene: 64"), textRoom(w.editor->cboScene));
    const QFontMetrics level(w.editor->cboLevel->font());
    EXPECT_LE(level.horizontalAdvance("100%"), textRoom(w.editor->cboLevel));
    for (int d = 0; d < kDimmerCount; ++d) {
        for (DimmerLabel* label : {w.editor->lblDimNum[d], w.editor->lblDimLvl[d]}) {
            const QFontMetrics metrics(label->font());
            const QRect inside = label->contentsRect();
            EXPECT_LE(metrics.horizontalAdvance(label->text()), inside.width())
                << label->text().toStdString();
            EXPECT_LE(metrics.height(), inside.height()) << label->text().toStdString();
        }
    }
    const QFontMetrics grid(w.editor->lblDimLvl[0]->font());
    EXPECT_LE(grid.horizontalAdvance("100%"), w.editor->lblDimLvl[0]->contentsRect().width());
}

}  // namespace
}  // namespace corvane
