// What the main window shows right after start-up, and where its controls sit.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "tests/support/main_window_world.h"
#include "tests/support/shown_caption.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;
using testing_support::ShownCaption;

TEST(MainWindowStartUp, ShowsFirstPortFirstNodeAndNoFile) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->windowTitle(), "Ostrel Corvane Scene Tool R01");
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_FALSE(w.document.Changed);
    EXPECT_FALSE(w.document.DialogInitDone);
    EXPECT_EQ(w.window->cboComPort->currentText(), "COM1");
    EXPECT_EQ(w.window->cboNode->currentText(), "Node: 01");
}

TEST(MainWindowStartUp, ListsEightPortsAnd254Nodes) {
    MainWindowWorld w;
    QComboBox* ports = w.window->cboComPort;
    QComboBox* nodes = w.window->cboNode;
    ASSERT_EQ(ports->count(), 8);
    EXPECT_EQ(ports->itemText(0), "COM1");
    EXPECT_EQ(ports->itemText(7), "COM8");
    ASSERT_EQ(nodes->count(), 254);
    EXPECT_EQ(nodes->itemText(9), "Node: 0A");
    EXPECT_EQ(nodes->itemText(253), "Node: FE");
}

TEST(MainWindowStartUp, UpdateTitleShowsCurrentFile) {
    MainWindowWorld w;
    w.document.CurrentFile = "C:\\x.SCN";
    w.window->UpdateTitle();
    EXPECT_EQ(w.window->lblFileName->text(), " File: C:\\x.SCN");
}

TEST(MainWindowLayout, ControlsSitAtTheirDesignedPixels) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->centralWidget()->size(), QSize(345, 89));
    EXPECT_EQ(w.window->cboComPort->geometry(), QRect(8, 8, 73, 21));
    EXPECT_EQ(w.window->cmdGetScenes->geometry(), QRect(112, 8, 217, 25));
    EXPECT_EQ(w.window->cmdSendScenes->geometry(), QRect(112, 40, 217, 25));
    EXPECT_EQ(w.window->cboNode->geometry(), QRect(8, 32, 73, 21));
    EXPECT_EQ(w.window->lblFileName->geometry(), QRect(0, 72, 345, 17));
    EXPECT_EQ(w.window->cmdGetScenes->text(), "Get Scenes From Corvane / Pavix");
    EXPECT_EQ(w.window->cmdSendScenes->text(), "Send Scenes To Corvane / Pavix");
}

TEST(MainWindowLayout, FixedSizeWithoutMinimiseOrMaximise) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->minimumSize(), w.window->maximumSize());
    const Qt::WindowFlags flags = w.window->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(w.window->windowIcon().isNull());
}

TEST(MainWindowLayout, TabOrderRunsPortsGetSendNodes) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->cboComPort->nextInFocusChain(), w.window->cmdGetScenes);
    EXPECT_EQ(w.window->cmdGetScenes->nextInFocusChain(), w.window->cmdSendScenes);
    EXPECT_EQ(w.window->cmdSendScenes->nextInFocusChain(), w.window->cboNode);
}

TEST(MainWindowLayout, MenuBarHoldsFileThenEditThenController) {
    MainWindowWorld w;
    const QList<QAction*> top = w.window->menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(ShownCaption(top[0]), "File");
    EXPECT_EQ(ShownCaption(top[1]), "Edit");
    EXPECT_EQ(top[1]->menu(), nullptr);
    EXPECT_EQ(ShownCaption(top[2]), "Controller");
    auto entriesOf = [](QMenu* menu) {
        QStringList entries;
        for (QAction* a : menu->actions()) entries << (a->isSeparator() ? "-" : ShownCaption(a));
        return entries;
    };
    EXPECT_EQ(entriesOf(top[0]->menu()),
              (QStringList{"New", "Open", "Save", "Save As", "-", "Exit"}));
    EXPECT_EQ(entriesOf(top[2]->menu()),
              (QStringList{"Find Controller", "Compare With Controller"}));
}

TEST(MainWindowLayout, StatusLabelIsPaleCyanWithBorder) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->lblFileName->palette().color(QPalette::Window), QColor(192, 255, 255));
    EXPECT_EQ(w.window->lblFileName->frameShape(), QFrame::Box);
}

}  // namespace
}  // namespace corvane
