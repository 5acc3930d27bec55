// The command transaction over a real pseudo-terminal, with the test answering on the far end:
// a reply arriving in pieces, silence with no window event handled meanwhile, a lost line.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEvent>
#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <mutex>
#include <thread>

#include "link/controller_link.h"
#include "link/port_error.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "tests/link/pseudo_terminal.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing_support::PseudoTerminal;

const std::string kBlockReply =
    "[C00004080C1014181C2024282C3034383C4044484C5054585C6064686C7074787C8084888C9094989CA0A4A8ACB"
    "0B4B8BCC0C4C8CCD0D4D8DCE0E4E8ECF0F4F8FC]";

// Plays the controller on the master side in a thread: every frame (up to "]") is handed to
// answer, which writes the reply or nothing. Stops after ten seconds whatever happens.
class FarEnd {
public:
    using Answer = std::function<void(int index, const std::string& frame, PseudoTerminal& line)>;

    FarEnd(PseudoTerminal& line, Answer answer)
        : line_(line), answer_(std::move(answer)), thread_([this] { Run(); }) {}
    ~FarEnd() {
        stop_ = true;
        thread_.join();
    }

    std::vector<std::string> frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }

private:
    void Run() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string pending;
        while (!stop_ && line_.master() >= 0 && std::chrono::steady_clock::now() < end) {
            pending += line_.Read(1, 10ms);
            for (size_t close = 0; (close = pending.find(']')) != std::string::npos;) {
                const std::string frame = pending.substr(0, close + 1);
                pending.erase(0, close + 1);
                int index = 0;
                {
                    std::lock_guard lock(mutex_);
                    frames_.push_back(frame);
                    index = static_cast<int>(frames_.size()) - 1;
                }
                answer_(index, frame, line_);
                if (line_.master() < 0) return;
            }
        }
    }

    PseudoTerminal& line_;
    Answer answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> frames_;
    std::thread thread_;
};

class LinkOverPtyTest : public ::testing::Test {
protected:
    LinkOverPtyTest() {
        comCV.setDevice(pty.slave());
        comCV.setSettings("38400,n,8,1");
        comCV.setPortOpen(true);
        comCV.setRTSEnable(true);
        comCV.setDTREnable(true);
    }

    PseudoTerminal pty;
    QtSerialControl comCV;
    SteadyStopwatch stopwatch;
    ControllerLink link{comCV, stopwatch, 1};
};

TEST_F(LinkOverPtyTest, TakesAReplyThatTricklesIn) {
    FarEnd far(pty, [](int, const std::string&, PseudoTerminal& line) {
        for (size_t at = 0; at < kBlockReply.size(); at += 33) {
            line.Write(kBlockReply.substr(at, 33));
            std::this_thread::sleep_for(15ms);
        }
    });
    EXPECT_TRUE(link.SendCommand("39700003F", 132, 4));
    EXPECT_EQ(link.RxText, kBlockReply);
    EXPECT_EQ(far.frames(), std::vector<std::string>{"[DD0139700003F]"});
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
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();

    EXPECT_FALSE(link.SendCommand("39700003F", 132, 1));  // 250 ms per attempt

    const auto elapsed = std::chrono::steady_clock::now() - start;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_GE(elapsed, 740ms);
    EXPECT_LT(elapsed, 5s);
    EXPECT_FALSE(receiver.handled);
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.handled);  // it was waiting all along
    EXPECT_EQ(pty.Read(45, 1s), "[DD0139700003F][DD0139700003F][DD0139700003F]");

    const auto cpuUs = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000000L + r.ru_utime.tv_usec +
               r.ru_stime.tv_usec;
    };
    const long cpu = cpuUs(after) - cpuUs(before);
    const long wall = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    std::cout << "processor time while waiting: " << static_cast<double>(cpu) / 1000.0 << " ms of " << static_cast<double>(wall) / 1000.0
              << " ms\n";
    RecordProperty("wait_cpu_us", std::to_string(cpu));
}

TEST_F(LinkOverPtyTest, LineLostWhileWaitingIsAPortErrorNotThreeTimeOuts) {
    FarEnd far(pty, [](int, const std::string&, PseudoTerminal& line) { line.CloseMaster(); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(link.SendCommand("39700003F", 132, 4), PortError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);  // well inside the first limit
    EXPECT_FALSE(comCV.PortOpen());
}

}  // namespace
}  // namespace corvane
