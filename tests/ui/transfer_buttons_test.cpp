// The Get and Send buttons through the window, against the simulated controller on a
// pseudo-terminal: what the table, the document state and the status label end up as, and what
// the technician is told.
#include <gtest/gtest.h>

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "tests/support/simulated_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;
using testing_support::SimulatedWorld;
using testing_support::WithoutInformativeText;

// Records the status label's text each time it is painted, as the technician would see it.
class PaintedTexts final : public QObject {
  public:
    explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint &&
            (texts.empty() || texts.back() != label_->text()))
            texts.push_back(label_->text());
        return false;
    }
    std::vector<QString> texts;

  private:
    QLabel* label_;
};

TEST(TransferButtons, GetFillsTheTableShowingEachBlockInTurn) {
    SimulatedWorld w;
    PaintedTexts painted(w.window->lblFileName);
    QTest::mouseClick(w.window->cmdGetScenes, Qt::LeftButton);

    EXPECT_EQ(w.scenes, DemoShow());
    EXPECT_TRUE(w.document.Changed);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    ASSERT_GE(painted.texts.size(), 64u);
    for (int b = 0; b < 64; ++b)
        EXPECT_EQ(painted.texts[static_cast<size_t>(b)],
                  QStringLiteral("Block: %1 Of 64").arg(b + 1, 2, 10, QLatin1Char('0')));
}

TEST(TransferButtons, SendPutsTheTableIntoTheController) {
    SimulatedWorld w;
    w.scenes = SceneTable::with({{0, 0, 255}, {40, 17, 10}, {63, 63, 128}});
    w.document.CurrentFile = "/shows/a.SCN";
    QTest::mouseClick(w.window->cmdSendScenes, Qt::LeftButton);
    EXPECT_EQ(sim::ToSceneTable(w.server.memory()), w.scenes);
    EXPECT_TRUE(w.document.Changed);  // sending counts as a change, as it always has
    EXPECT_EQ(w.window->lblFileName->text(), " File: /shows/a.SCN");
}

TEST(TransferButtons, AFailedBlockIsReportedWhileItsProgressShowsAndChangesNothing) {
    struct Case {
        int block;
        const char* progress;
    };
    for (const Case c : {Case{0, "Block: 01 Of 64"}, Case{63, "Block: 64 Of 64"}}) {
        SimulatedWorld w;
        w.server.addFault({c.block, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Read});
        w.scenes = SceneTable::with({{0, 0, 9}, {63, 0, 9}});
        const SceneTable before = w.scenes;
        QString labelDuringMessage;
        w.messages.onShow = [&](const Message&) {
            labelDuringMessage = w.window->lblFileName->text();
        };
        w.window->cmdGetScenes_Click();

        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(WithoutInformativeText(w.messages.shown[0]), messages::uploadError());
        const QString below = w.messages.shown[0].informativeText;
        EXPECT_TRUE(below.contains(c.progress + QStringLiteral(" failed"))) << below.toStdString();
        EXPECT_EQ(w.messages.shown[0].text, "Upload Error. Retry.");
        EXPECT_EQ(w.messages.shown[0].title, "Error");
        EXPECT_EQ(w.messages.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(w.messages.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(labelDuringMessage, c.progress);
        EXPECT_EQ(w.scenes, before);
        EXPECT_FALSE(w.document.Changed);
        EXPECT_EQ(w.window->lblFileName->text(), " File: None");
        EXPECT_FALSE(w.comCV.PortOpen());
    }
}

TEST(TransferButtons, AnUnacknowledgedSendSaysDownloadError) {
    SimulatedWorld w;
    w.server.addFault({0, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Write});
    w.document.CurrentFile = "/shows/a.SCN";
    QString labelDuringMessage;
    w.messages.onShow = [&](const Message&) { labelDuringMessage = w.window->lblFileName->text(); };
    w.window->cmdSendScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(WithoutInformativeText(w.messages.shown[0]), messages::downloadError());
    EXPECT_EQ(labelDuringMessage, "Block: 01 Of 64");
    EXPECT_FALSE(w.document.Changed);
}

TEST(TransferButtons, ALevelAControllerCannotHoldStopsSendBeforeAnythingGoesOut) {
    SimulatedWorld w;
    w.scenes(2, 5) = 300;  // as a damaged scene file can hold
    w.document.CurrentFile = "/shows/damaged.SCN";
    w.window->cmdSendScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].title, "Error");
    EXPECT_TRUE(w.messages.shown[0].text.contains("Scene 03, Dimmer 02.2 holds level 300"))
        << w.messages.shown[0].text.toStdString();
    EXPECT_TRUE(w.server.requests().empty());
    EXPECT_EQ(sim::ToSceneTable(w.server.memory()), DemoShow());
    EXPECT_FALSE(w.document.Changed);
}

TEST(TransferButtons, AMissingDeviceIsNamedAndNothingChanges) {
    MainWindowWorld w;
    w.window->addPort(QStringLiteral("/dev/ttyUSB-corvane-missing"), "/dev/ttyUSB-corvane-missing");
    w.scenes(0, 0) = 7;
    w.window->cmdGetScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    const QString text = w.messages.shown[0].text;
    EXPECT_TRUE(
        text.startsWith("Could not use ttyUSB-corvane-missing (/dev/ttyUSB-corvane-missing)"))
        << text.toStdString();
    EXPECT_EQ(w.messages.shown[0].buttons, MessageButtons::Ok);
    // No block moved: the port's own message says it all.
    EXPECT_EQ(w.messages.shown[0].informativeText, "");
    EXPECT_EQ(w.scenes(0, 0), 7);
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_FALSE(w.comCV.PortOpen());
}

TEST(TransferButtons, TheSelectedEntriesAreTheDeviceAndNodeATransferUses) {
    MainWindowWorld w;
    w.window->cboComPort->setCurrentIndex(7);
    w.window->cboNode->setCurrentIndex(9);
    ASSERT_EQ(w.window->cboComPort->currentText(), "COM8");
    ASSERT_EQ(w.window->cboNode->currentText(), "Node: 0A");
    w.window->cmdGetScenes_Click();
    EXPECT_EQ(w.opened, (std::vector<std::pair<std::string, int>>{{"/dev/ttyS7", 10}}));
    EXPECT_FALSE(w.comCV.PortOpen());
}

TEST(PortList, AdaptersFollowTheEightAndAreReadAfreshWhenTheListOpens) {
    MainWindowWorld w;
    ASSERT_EQ(w.window->cboComPort->count(), 8);
    w.adapters = {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyACM0", ""}};
    w.window->cboComPort->showPopup();
    w.window->cboComPort->hidePopup();
    ASSERT_EQ(w.window->cboComPort->count(), 10);
    EXPECT_EQ(w.window->cboComPort->itemText(8), "ttyUSB0  FT232R USB UART");
    EXPECT_EQ(w.window->cboComPort->itemText(9), "ttyACM0");
    EXPECT_EQ(w.window->cboComPort->itemData(8).toString(), "/dev/ttyUSB0");
    EXPECT_EQ(w.window->cboComPort->itemData(9).toString(), "/dev/ttyACM0");

    // The selection stays on its device when an adapter ahead of it goes away.
    w.window->cboComPort->setCurrentIndex(9);
    w.adapters = {{"/dev/ttyACM0", ""}};
    w.window->refreshPortList();
    EXPECT_EQ(w.window->cboComPort->closedText(), "ttyACM0");
    EXPECT_EQ(w.window->cboComPort->currentIndex(), 8);
    EXPECT_EQ(w.window->cboComPort->itemData(8).toString(), "/dev/ttyACM0");
}

TEST(PortList, NamedDevicesStayAtTheEndAndAreSelected) {
    MainWindowWorld w;
    w.window->addPort(QStringLiteral("/dev/ttyS4"), "/dev/ttyS4x");
    w.window->addPort(QStringLiteral("Simulator"), "/dev/pts/99");
    EXPECT_EQ(w.window->cboComPort->closedText(), "Simulator");
    w.adapters = {{"/dev/ttyUSB3", ""}};
    w.window->refreshPortList();
    ASSERT_EQ(w.window->cboComPort->count(), 11);
    EXPECT_EQ(w.window->cboComPort->itemText(8), "ttyUSB3");
    EXPECT_EQ(w.window->cboComPort->itemText(9), "ttyS4");
    EXPECT_EQ(w.window->cboComPort->itemText(10), "Simulator");
    EXPECT_EQ(w.window->cboComPort->closedText(), "Simulator");
    EXPECT_EQ(w.window->cboComPort->currentData().toString(), "/dev/pts/99");
}

}  // namespace
}  // namespace corvane
