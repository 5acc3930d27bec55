// Low latency asked of the adapter's driver when a port opens, and the driver's flags put back
// when it closes; a device that refuses the request is used as it is.
#include "link/low_latency.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <linux/tty_flags.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "link/qt_serial_control.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane {
namespace {

// A driver that keeps serial flags, records each request made of it, and can refuse them.
struct RecordingDriver {
    int flags = 0x40;
    bool refuses = false;
    std::vector<std::string> requests;

    LowLatency::Control control() {
        return [this](int fd, unsigned long request, void* argument) {
            auto* serial = static_cast<serial_struct*>(argument);
            const std::string on = " fd " + std::to_string(fd);
            if (request == TIOCGSERIAL) {
                requests.emplace_back("get" + on);
                if (refuses) return -1;
                serial->flags = flags;
                return 0;
            }
            if (request == TIOCSSERIAL) {
                requests.emplace_back("set " + std::to_string(serial->flags) + on);
                flags = serial->flags;
                return 0;
            }
            requests.emplace_back("unknown request");
            return -1;
        };
    }
};

TEST(LowLatency, IsAskedForAndTheFlagsPutBack) {
    RecordingDriver driver;
    LowLatency latency(driver.control());
    EXPECT_TRUE(latency.request(7));
    EXPECT_EQ(driver.flags, 0x40 | static_cast<int>(ASYNC_LOW_LATENCY));
    latency.restore(7);
    EXPECT_EQ(driver.flags, 0x40);
    EXPECT_EQ(driver.requests,
              (std::vector<std::string>{"get fd 7",
                                        "set " + std::to_string(0x40 | ASYNC_LOW_LATENCY) + " fd 7",
                                        "get fd 7", "set 64 fd 7"}));
}

TEST(LowLatency, ADriverAlreadyInLowLatencyOrRefusingIsLeftAlone) {
    RecordingDriver already;
    already.flags = ASYNC_LOW_LATENCY;
    LowLatency a(already.control());
    EXPECT_TRUE(a.request(3));
    a.restore(3);
    EXPECT_EQ(already.requests, std::vector<std::string>{"get fd 3"});

    RecordingDriver refusing;
    refusing.refuses = true;
    LowLatency r(refusing.control());
    EXPECT_FALSE(r.request(3));
    r.restore(3);
    EXPECT_EQ(refusing.requests, std::vector<std::string>{"get fd 3"});
}

TEST(LowLatency, EveryPortOpenedAsksAndAPseudoTerminalsRefusalIsHarmless) {
    testing_support::PseudoTerminal pty;
    RecordingDriver driver;
    QtSerialControl comCV(LowLatency(driver.control()));
    comCV.setDevice(pty.slave());
    comCV.setPortOpen(true);
    ASSERT_EQ(driver.requests.size(), 2u);
    EXPECT_EQ(driver.requests[0].rfind("get fd ", 0), 0u);
    comCV.setPortOpen(false);
    EXPECT_EQ(driver.requests.size(), 4u) << "the flags were not put back on close";

    // The real request on a pseudo-terminal, which has no serial driver to ask.
    const int slave = ::open(pty.slave().c_str(), O_RDWR | O_NOCTTY);
    EXPECT_GE(slave, 0);
    EXPECT_FALSE(slave >= 0 && LowLatency().request(slave));
    if (slave >= 0) ::close(slave);
}

}  // namespace
}  // namespace corvane
