// The command transaction over a real pseudo-terminal, with the test answering on the far end:
// a reply arriving in pieces, silence with no window event handled meanwhile, a lost line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <chrono>
#include <future>
#include <thread>

#include "link/controller_link.h"
#include "link/port_error.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "tests/link/link_lines.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing_support::kBlockReply;
using testing_support::PseudoTerminal;

class LinkOverPtyTest : public ::testing::Test {
  protected:
    LinkOverPtyTest() { testing_support::OpenLikeATransfer(comCV, pty.slave()); }

    // Plays the controller once, in a thread: takes the request frame, then does answer.
    template <typename Answer>
    std::future<std::string> farEnd(Answer answer) {
        return std::async(std::launch::async, [this, answer] {
            std::string frame = pty.read(15, 2s);
            answer();
            return frame;
        });
    }

    PseudoTerminal pty;
    QtSerialControl comCV;
    SteadyStopwatch stopwatch;
    ControllerLink link{comCV, stopwatch, 1};
};

TEST_F(LinkOverPtyTest, TakesAReplyThatTricklesIn) {
    auto far = farEnd([this] {
        for (size_t at = 0; at < kBlockReply.size(); at += 33) {
            pty.write(kBlockReply.substr(at, 33));
            std::this_thread::sleep_for(15ms);
        }
    });
    EXPECT_TRUE(link.SendCommand("39700003F", 132, 4));
    EXPECT_EQ(link.RxText, kBlockReply);
    EXPECT_EQ(far.get(), "[DD0139700003F]");
}

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

TEST_F(LinkOverPtyTest, LineLostWhileWaitingIsAPortErrorNotThreeTimeOuts) {
    auto far = farEnd([this] { pty.close(); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(link.SendCommand("39700003F", 132, 4), PortError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);  // well inside the first limit
    EXPECT_FALSE(comCV.PortOpen());
    EXPECT_EQ(far.get(), "[DD0139700003F]");
}

}  // namespace
}  // namespace corvane
