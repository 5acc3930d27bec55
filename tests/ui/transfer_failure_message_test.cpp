// What a technician reads when a transfer stops: the fixed message, and below it the port and
// node, the block, what its attempts met, what changed and what to check, through the message
// interface and in the Qt box that shows it.
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
using testing_support::WithoutInformativeText;

const QString kNothingHeard = QStringLiteral(
    "Check that the controller is switched on, that the cable is plugged in at both ends, and that "
    "the port and the node are the controller's; then click again.");
const QString kSpoiltReplies = QStringLiteral(
    "Replies came back damaged, cut short or late: check the cable and its plugs, and that nothing "
    "else is on the line; then click again.");

enum class Way { Get, Send };

struct FailureCase {
    const char* what;
    Way way;
    int nodeEntry;  // position in the node list
    std::optional<sim::Fault> fault;
    Message headline;
    const char* nodeAndBlock;  // the rest of the message's lines, as written below it
    const char* attemptsMet;
    const char* changed;
    const QString* advice;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

void run(SimulatedWorld& w, Way way) {
    // Send needs a show to send; a file name keeps the empty-table question away.
    w.document.CurrentFile = QStringLiteral("/shows/a.SCN");
    if (way == Way::Get) {
        w.window->cmdGetScenes_Click();
    } else {
        w.window->cmdSendScenes_Click();
    }
}

class FailedBlock : public testing::TestWithParam<FailureCase> {};

TEST_P(FailedBlock, SaysWhereWhatAndWhatToCheckBelowTheFixedMessage) {
    const FailureCase& c = GetParam();
    SimulatedWorld w;
    w.window->cboNode->setCurrentIndex(c.nodeEntry);
    if (c.fault) w.server.addFault(*c.fault);
    run(w, c.way);

    ASSERT_EQ(w.messages.shown.size(), 1u);
    const Message& shown = w.messages.shown[0];
    EXPECT_EQ(WithoutInformativeText(shown), c.headline);
    const QString port = "Port Simulator (" + QString::fromStdString(w.server.devicePath()) + "), ";
    EXPECT_EQ(shown.informativeText,
              port + c.nodeAndBlock + QString(c.attemptsMet) + "\n" + c.changed + "\n" + *c.advice);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedBlock,
    testing::Values(
        // The simulated controller is node 01: node 0A hears nothing from the first block on.
        FailureCase{"Get from a node that is not there", Way::Get, 9, std::nullopt,
                    messages::uploadError(), "Node: 0A.\nBlock: 01 Of 64 failed: ",
                    "no answer (3 attempts).", "The table is as it was.", &kNothingHeard},
        FailureCase{"Send with wrong check digits", Way::Send, 0,
                    sim::Fault{2, sim::FaultKind::BadSum, sim::kAlways, sim::Direction::Write},
                    messages::downloadError(),
                    "Node: 01.\nBlock: 03 Of 64 failed: ", "wrong check digits (3 attempts).",
                    "The controller may hold part of the show.", &kSpoiltReplies},
        FailureCase{"Get of a last block cut short", Way::Get, 0,
                    sim::Fault{63, sim::FaultKind::Short, sim::kAlways, sim::Direction::Read},
                    messages::uploadError(),
                    "Node: 01.\nBlock: 64 Of 64 failed: ", "a reply too short (3 attempts).",
                    "The table is as it was.", &kSpoiltReplies}));

// A lost line keeps the port's own message; below it, where the transfer was and what changed.
TEST(LostLine, TheLinesMessageSaysWhichBlockAndWhatChanged) {
    struct Case {
        Way way;
        const char* changed;
    };
    for (const Case c : {Case{Way::Get, "The table is as it was."},
                         Case{Way::Send, "The controller may hold part of the show."}}) {
        SimulatedWorld w;
        w.server.addFault({3, sim::FaultKind::Close, sim::kAlways, sim::Direction::Any});
        run(w, c.way);
        ASSERT_EQ(w.messages.shown.size(), 1u);
        const Message& shown = w.messages.shown[0];
        const QString device = QString::fromStdString(w.server.devicePath());
        EXPECT_TRUE(
            shown.text.startsWith("Could not use Simulator (" + device + "): the line was lost"))
            << shown.text.toStdString();
        EXPECT_EQ(shown.informativeText, QString("Node: 01, Block: 04 Of 64.\n") + c.changed);
    }
}

// The Qt box shows the fixed text and, below it, the details; a message without details has none.
TEST(QtMessageBoxTexts, DetailsGoBelowTheText) {
    QMessageBox box;
    QtMessageBox::prepare(box, messages::uploadError(QStringLiteral("Port COM1 (/dev/ttyS0)")));
    EXPECT_EQ(box.text(), "Upload Error. Retry.");
    EXPECT_EQ(box.informativeText(), "Port COM1 (/dev/ttyS0)");
    EXPECT_EQ(box.windowTitle(), "Error");
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);

    QMessageBox plain;
    QtMessageBox::prepare(plain, messages::discardChanges());
    EXPECT_EQ(plain.text(), "Discard Any Changes?");
    EXPECT_EQ(plain.informativeText(), "");
    EXPECT_EQ(plain.standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

// The box is wide enough for each line of details, so they do not wrap every few words.
TEST(QtMessageBoxTexts, TheBoxIsAsWideAsALineOfDetails) {
    const QString line =
        QStringLiteral("Block: 05 Of 64 failed: wrong check digits, then no answer.");
    QMessageBox box;
    QtMessageBox::prepare(box, messages::uploadError(line + "\nThe table is as it was."));
    box.show();
    const auto* below = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_NE(below, nullptr);
    EXPECT_GE(below->contentsRect().width(), below->fontMetrics().horizontalAdvance(line));
    box.hide();
}

}  // namespace
}  // namespace corvane
