// The command transaction over a real pseudo-terminal: silence, with no window event handled
// meanwhile. Replies in pieces and a lost line over a real line are the serial control's tests
// and the fault matrix's.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <chrono>

#include "link/controller_link.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "tests/link/link_lines.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing_support::PseudoTerminal;

class LinkOverPtyTest : public ::testing::Test {
  protected:
    LinkOverPtyTest() { testing_support::OpenLikeATransfer(comCV, pty.slave()); }

    PseudoTerminal pty;
    QtSerialControl comCV;
    SteadyStopwatch stopwatch;
    ControllerLink link{comCV, stopwatch, 1};
};

TEST_F(LinkOverPtyTest, SilenceGivesThreeFramesAndHandlesNoEventMeanwhile) {
    // A queued event, as a click on the window would be.
    struct Receiver : QObject {
        bool handled = false;
        bool event(QEvent* e) override {
            if (e->type() != QEvent::User) return QObject::event(e);
            handled = true;
            return true;
        }
    } receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.SendCommand("39700003F", 132, 1));  // 250 ms per attempt
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 740ms);
    EXPECT_LT(elapsed, 5s);
    EXPECT_FALSE(receiver.handled);
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.handled);  // it was waiting all along
    EXPECT_EQ(pty.read(45, 1s), "[DD0139700003F][DD0139700003F][DD0139700003F]");
}

}  // namespace
}  // namespace corvane
