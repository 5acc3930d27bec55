// What the main window shows right after start-up, where its controls sit, and how the status
// label shows a file's name.
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

TEST(MainWindowStartUp, ShowsTheFirstOfEightPortsTheFirstOf254NodesAndNoFile) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->windowTitle(), "Ostrel Corvane Scene Tool R01");
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_EQ(w.document.CurrentFile, "None");
    EXPECT_FALSE(w.document.Changed);
    EXPECT_FALSE(w.document.DialogInitDone);
    QComboBox* ports = w.window->cboComPort;
    QComboBox* nodes = w.window->cboNode;
    EXPECT_EQ(ports->currentText(), "COM1");
    EXPECT_EQ(nodes->currentText(), "Node: 01");
    ASSERT_EQ(ports->count(), 8);
    EXPECT_EQ(ports->itemText(7), "COM8");
    ASSERT_EQ(nodes->count(), 254);
    EXPECT_EQ(nodes->itemText(9), "Node: 0A");
    EXPECT_EQ(nodes->itemText(253), "Node: FE");
}

TEST(MainWindowLayout, ControlsSitAtTheirDesignedPixelsInAFixedWindow) {
    MainWindowWorld w;
    EXPECT_EQ(w.window->centralWidget()->size(), QSize(345, 89));
    EXPECT_EQ(w.window->cboComPort->geometry(), QRect(8, 8, 73, 21));
    EXPECT_EQ(w.window->cmdGetScenes->geometry(), QRect(112, 8, 217, 25));
    EXPECT_EQ(w.window->cmdSendScenes->geometry(), QRect(112, 40, 217, 25));
    EXPECT_EQ(w.window->cboNode->geometry(), QRect(8, 32, 73, 21));
    EXPECT_EQ(w.window->lblFileName->geometry(), QRect(0, 72, 345, 17));
    EXPECT_EQ(w.window->cmdGetScenes->text(), "Get Scenes From Corvane / Pavix");
    EXPECT_EQ(w.window->cmdSendScenes->text(), "Send Scenes To Corvane / Pavix");
    // The status label is pale cyan with a border.
    EXPECT_EQ(w.window->lblFileName->palette().color(QPalette::Window), QColor(192, 255, 255));
    EXPECT_EQ(w.window->lblFileName->frameShape(), QFrame::Box);

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
    ASSERT_EQ(top.size(), 4);
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
    EXPECT_EQ(entriesOf(top[2]->menu()), (QStringList{"Find Controller", "Compare With Controller",
                                                      "-", "Add Network Port..."}));
    EXPECT_EQ(ShownCaption(top[3]), "Table");
    EXPECT_EQ(entriesOf(top[3]->menu()), (QStringList{"Scene Grid", "-", "Undo", "Redo"}));
}

// The status label's file name as the technician reads it: whole when it fits; otherwise " File: "
// and the file's own name stay and the folder gives way in the middle, the whole path in the
// label's tooltip.
TEST(StatusLabel, ShowsThePathWholeOrKeepsTheNameAndShortensTheFolder) {
    struct Case {
        QString path;
        QString ending;  // what must stay readable at the end; empty: shown whole
    };
    const QString folder = QStringLiteral("/tmp/very long folder name for the spring tour");
    for (const Case& c :
         {Case{"None", ""}, Case{"/shows/spring/rehearsal.SCN", ""},
          Case{folder + "/rehearsal.SCN", "/rehearsal.SCN"},
          Case{folder + "/rehearsal", "/rehearsal"},
          Case{"C:\\Shows\\very long folder name for the spring tour of 2027\\Rehearsal.SCN",
               "\\Rehearsal.SCN"},
          Case{"/shows/" + QString(80, QLatin1Char('x')) + ".SCN", "x.SCN"}}) {
        MainWindowWorld w;
        w.document.CurrentFile = c.path;
        w.window->UpdateTitle();
        const QLabel* label = w.window->lblFileName;
        const QString shown = label->text();
        EXPECT_EQ(label->toolTip(), c.path == "None" ? "" : c.path);
        if (c.ending.isEmpty()) {
            EXPECT_EQ(shown, " File: " + c.path);
            continue;
        }
        EXPECT_TRUE(shown.startsWith(" File: " + c.path.left(3))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.ending)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        EXPECT_LT(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
    }
}

}  // namespace
}  // namespace corvane
