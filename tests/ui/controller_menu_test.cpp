// The Controller menu through the window against simulated controllers on one line: Find moves to
// the next controller and says where it is, Compare says how the table and a controller differ;
// neither changes the table, Changed or CurrentFile.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "tests/support/demo_line.h"
#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

// The window on a line with controllers at nodes, each holding the demo show, as "Simulator".
struct LineWorld : MainWindowWorld {
    testing_support::DemoLine line;
    explicit LineWorld(const std::vector<int16_t>& nodes) : line(nodes) {
        window->addPort(QStringLiteral("Simulator"), line.server.devicePath());
        scenes = SceneTable::with({{5, 5, 99}});
        document.CurrentFile = QStringLiteral("/shows/a.SCN");
        window->UpdateTitle();
    }
    void expectDocumentUntouched() const {
        EXPECT_EQ(scenes, SceneTable::with({{5, 5, 99}}));
        EXPECT_FALSE(document.Changed);
        EXPECT_EQ(document.CurrentFile, "/shows/a.SCN");
        EXPECT_EQ(window->lblFileName->text(), " File: /shows/a.SCN");
    }
};

Message Information(const QString& text, const QString& details = {}) {
    return {
        text,   "Ostrel Corvane", MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok,
        details};
}

TEST(FindController, EachFindMovesToTheNextControllerRoundTheNodes) {
    LineWorld w({3, 17});
    const char* expected[] = {"Node: 03", "Node: 11", "Node: 03"};
    for (const char* node : expected) {
        w.window->mnuFindController->trigger();
        EXPECT_EQ(w.window->cboNode->currentText(), node);
    }
    EXPECT_EQ(w.messages.shown,
              (std::vector<Message>{Information("Found a controller at Node: 03 on Simulator."),
                                    Information("Found a controller at Node: 11 on Simulator."),
                                    Information("Found a controller at Node: 03 on Simulator.")}));
    // The first Find started at the node after the selected one, and said so in its dialog.
    EXPECT_EQ(w.progress.texts.first(), "Looking for a controller on Simulator: Node: 02");
    EXPECT_EQ(w.progress.begun, w.progress.ended);
    w.expectDocumentUntouched();
}

TEST(FindController, AfterFEComesOne) {
    LineWorld w({1});
    w.window->cboNode->setCurrentIndex(253);
    w.window->mnuFindController->trigger();
    EXPECT_EQ(w.progress.texts, QStringList{"Looking for a controller on Simulator: Node: 01"});
    EXPECT_EQ(w.window->cboNode->currentText(), "Node: 01");
}

TEST(FindController, CancelStopsWithinOneNodeAndNothingIsSaid) {
    LineWorld w({40});
    w.progress.cancelAtStep = 2;
    w.window->mnuFindController->trigger();
    EXPECT_EQ(w.progress.texts.size(), 3);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.window->cboNode->currentText(), "Node: 01");
    EXPECT_LE(w.line.server.requests().size(), 2u) << "nodes were asked after Cancel";
}

TEST(FindController, NoControllerIsSaid) {
    LineWorld w({255});  // a controller no node number reaches
    w.window->mnuFindController->trigger();
    EXPECT_EQ(w.progress.texts.size(), 254);
    EXPECT_EQ(w.messages.shown,
              std::vector<Message>{Information("No controller answered on Simulator.")});
    EXPECT_EQ(w.window->cboNode->currentText(), "Node: 01");
    w.expectDocumentUntouched();
}

TEST(CompareWithController, SaysTheSameTableOrCountsTheDifferencesAndListsTheFirstTwenty) {
    LineWorld w({3});
    w.window->cboNode->setCurrentIndex(2);
    w.scenes = DemoShow();
    w.window->mnuCompareController->trigger();
    EXPECT_EQ(w.messages.shown,
              std::vector<Message>{
                  Information("Node: 03 on Simulator holds the same 64 scenes as the table.")});

    for (int d = 0; d < 25; ++d)
        w.scenes(0, d) = static_cast<int16_t>(DemoShow()(0, d) == 127 ? 128 : 127);
    const SceneTable table = w.scenes;
    w.window->mnuCompareController->trigger();
    ASSERT_EQ(w.messages.shown.size(), 2u);
    const Message& m = w.messages.shown[1];
    EXPECT_EQ(m.text, "25 levels differ between the table and Node: 03 on Simulator.");
    const QStringList lines = m.informativeText.split('\n');
    ASSERT_EQ(lines.size(), 21);
    // Scene 1 of the demo show is full.
    EXPECT_EQ(lines[0], "Scene 01, Dimmer 01.1: table 50%, controller 100%");
    EXPECT_EQ(lines[20], "and 5 more.");
    EXPECT_EQ(w.scenes, table);
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.window->lblFileName->text(), " File: /shows/a.SCN");
}

}  // namespace
}  // namespace corvane
