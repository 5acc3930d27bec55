// What a technician reads when a transfer stops: the fixed message, and below it the port and
// node, the block, what its attempts met, what changed and what to check, through the message
// interface and in the Qt box that shows it; and what the window is left as.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <ostream>

#include "tests/support/simulated_window_world.h"
#include "ui/main/qt_message_box.h"

namespace corvane {
namespace {

using testing_support::SimulatedWorld;

constexpr char kNothingHeard[] =
    "Check that the controller is switched on, that the cable is plugged in at both ends, and that "
    "the port and the node are the controller's; then click again.";
constexpr char kSpoiltReplies[] =
    "Replies came back damaged, cut short or late: check the cable and its plugs, and that nothing "
    "else is on the line; then click again.";

bool run(SimulatedWorld& w, bool get) {
    // A file name keeps the empty-table question away from Send.
    w.document.CurrentFile = QStringLiteral("/shows/a.SCN");
    get ? w.window->cmdGetScenes_Click() : w.window->cmdSendScenes_Click();
    return w.messages.shown.size() == 1;
}

struct FailureCase {
    const char* what;
    bool get;
    int nodeEntry;  // position in the node list
    std::vector<sim::Fault> faults;
    const char* below;  // %1: the simulator's device
    const char* advice;
    const char* progress;  // the status label while the message is up
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

class FailedBlock : public testing::TestWithParam<FailureCase> {};

TEST_P(FailedBlock, SaysWhereWhatAndWhatToCheckBelowTheFixedMessageAndChangesNothing) {
    const FailureCase& c = GetParam();
    SimulatedWorld w;
    w.window->cboNode->setCurrentIndex(c.nodeEntry);
    for (const sim::Fault& f : c.faults) w.server.addFault(f);
    w.scenes = SceneTable::with({{0, 0, 9}, {63, 0, 9}});
    const SceneTable before = w.scenes;
    QString labelDuringMessage;
    w.messages.onShow = [&](const Message&) { labelDuringMessage = w.window->lblFileName->text(); };
    ASSERT_TRUE(run(w, c.get));
    const Message& shown = w.messages.shown[0];
    EXPECT_EQ(testing_support::WithoutInformativeText(shown),
              c.get ? messages::uploadError() : messages::downloadError());
    EXPECT_EQ(shown.text, c.get ? "Upload Error. Retry." : "Download Error. Retry.");
    EXPECT_EQ(shown.informativeText,
              QString(c.below).arg(QString::fromStdString(w.server.devicePath())) + c.advice);
    EXPECT_EQ(labelDuringMessage, c.progress);
    EXPECT_EQ(w.scenes, before);
    EXPECT_FALSE(w.document.Changed);
    EXPECT_EQ(w.window->lblFileName->text(), " File: /shows/a.SCN");
    EXPECT_FALSE(w.comCV.PortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedBlock,
    testing::Values(
        // The simulated controller is node 01: node 0A hears nothing from the first block on.
        FailureCase{"Get from a node that is not there",
                    true,
                    9,
                    {},
                    "Port Simulator (%1), Node: 0A.\nBlock: 01 Of 64 failed: no answer (3 "
                    "attempts).\nThe table is as it was.\n",
                    kNothingHeard,
                    "Block: 01 Of 64"},
        FailureCase{"Send with wrong check digits",
                    false,
                    0,
                    {{2, sim::FaultKind::BadSum, sim::kAlways, sim::Direction::Write}},
                    "Port Simulator (%1), Node: 01.\nBlock: 03 Of 64 failed: wrong check digits (3 "
                    "attempts).\nThe controller may hold part of the show.\n",
                    kSpoiltReplies,
                    "Block: 03 Of 64"},
        FailureCase{"Get of a last block cut short",
                    true,
                    0,
                    {{63, sim::FaultKind::Short, sim::kAlways, sim::Direction::Read}},
                    "Port Simulator (%1), Node: 01.\nBlock: 64 Of 64 failed: a reply too short (3 "
                    "attempts).\nThe table is as it was.\n",
                    kSpoiltReplies,
                    "Block: 64 Of 64"}));

// A lost line keeps the port's own message; below it, where the transfer was and what changed.
TEST(LostLine, TheLinesMessageSaysWhichBlockAndWhatChanged) {
    for (const bool get : {true, false}) {
        SimulatedWorld w;
        w.server.addFault({3, sim::FaultKind::Close, sim::kAlways, sim::Direction::Any});
        ASSERT_TRUE(run(w, get));
        const Message& shown = w.messages.shown[0];
        const QString device = QString::fromStdString(w.server.devicePath());
        EXPECT_TRUE(
            shown.text.startsWith("Could not use Simulator (" + device + "): the line was lost"))
            << shown.text.toStdString();
        EXPECT_EQ(shown.informativeText, QString("Node: 01, Block: 04 Of 64.\n") +
                                             (get ? "The table is as it was."
                                                  : "The controller may hold part of the show."));
        EXPECT_FALSE(w.document.Changed);
    }
}

// The Qt box shows the fixed text and below it the details, wide enough for a line of them; a
// message without details has none.
TEST(QtMessageBoxTexts, DetailsGoBelowTheTextInABoxWideEnoughForThem) {
    const QString line =
        QStringLiteral("Block: 05 Of 64 failed: wrong check digits, then no answer.");
    QMessageBox box;
    QtMessageBox::prepare(box, messages::uploadError(line + "\nThe table is as it was."));
    EXPECT_EQ(box.text(), "Upload Error. Retry.");
    EXPECT_EQ(box.informativeText(), line + "\nThe table is as it was.");
    EXPECT_EQ(box.windowTitle(), "Error");
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    box.show();
    const auto* below = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_NE(below, nullptr);
    EXPECT_GE(below->contentsRect().width(), below->fontMetrics().horizontalAdvance(line));
    box.hide();

    QMessageBox plain;
    QtMessageBox::prepare(plain, messages::discardChanges());
    EXPECT_EQ(plain.informativeText(), "");
    EXPECT_EQ(plain.standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

}  // namespace
}  // namespace corvane
