// The QSerialPort control over a real pseudo-terminal: bytes on the wire both ways, settings on
// the line, modem lines on a device without them, and the loss of the line.
#include "link/qt_serial_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/port_error.h"
#include "tests/link/link_lines.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing_support::PseudoTerminal;

std::string AllByteValues() {
    std::string bytes;
    for (int v = 0; v < 256; ++v) bytes.push_back(static_cast<char>(v));
    return bytes;
}

class QtSerialControlTest : public ::testing::Test {
  protected:
    void Open(const std::string& settings = "38400,n,8,1") {
        testing_support::OpenLikeATransfer(comCV, pty.slave(), settings);
    }

    // Polls the count until it reaches want or a second has passed.
    int16_t CountReaching(int16_t want) {
        const auto end = std::chrono::steady_clock::now() + 1s;
        int16_t count = comCV.InBufferCount();
        while (count < want && std::chrono::steady_clock::now() < end) {
            comCV.waitForInput(10);
            count = comCV.InBufferCount();
        }
        return count;
    }

    PseudoTerminal pty;
    QtSerialControl comCV;
};

TEST_F(QtSerialControlTest, OutputArrivesAtTheOtherEndByteForByte) {
    Open();
    comCV.Output("[DD0139700003F]");
    EXPECT_EQ(pty.read(15, 2s), "[DD0139700003F]");
    const std::string every = AllByteValues();
    comCV.Output(every);
    EXPECT_EQ(pty.read(every.size(), 2s), every);
}

TEST_F(QtSerialControlTest, InputTakesEveryCharacterWaitingInAsManyKernelChunksAsItTakes) {
    Open();
    const std::string every = AllByteValues();
    pty.write(every);
    EXPECT_EQ(CountReaching(256), 256);
    EXPECT_EQ(comCV.Input(), every);
    EXPECT_EQ(comCV.InBufferCount(), 0);
    EXPECT_EQ(comCV.Input(), "");
    std::string many;
    for (int i = 0; i < 20; ++i) many += every;
    pty.write(many);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(comCV.Input(), many);
}

TEST_F(QtSerialControlTest, CountsWhatTheKernelHoldsWithoutAWait) {
    Open();
    pty.write("{--}00");
    std::this_thread::sleep_for(50ms);  // in the kernel, not yet in the port's buffer
    EXPECT_EQ(comCV.InBufferCount(), 6);
    pty.write("[A5");
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(comCV.Input(), "{--}00[A5");
}

TEST_F(QtSerialControlTest, WaitForInputReturnsWhenCharactersArriveAndBlocksOtherwise) {
    Open();
    pty.write("x");
    EXPECT_EQ(CountReaching(1), 1);
    // A character already waiting does not end the next wait early: it blocks for the slice.
    const auto start = std::chrono::steady_clock::now();
    comCV.waitForInput(100);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 90ms);
    EXPECT_LT(waited, 2s);
    std::thread late([this] {
        std::this_thread::sleep_for(30ms);
        pty.write("y");
    });
    comCV.waitForInput(1500);
    late.join();
    EXPECT_EQ(comCV.Input(), "xy");
}

TEST_F(QtSerialControlTest, AppliesTheSettingsToTheLine) {
    Open("38400,n,8,1");
    termios t = pty.settings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B38400));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
    comCV.setSettings("9600,n,8,2");
    t = pty.settings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
}

// Settings the device cannot take, or that mean nothing, are refused and the old ones kept.
TEST_F(QtSerialControlTest, RefusedSettingsAreReportedAndTheOldOnesKept) {
    Open("38400,n,8,1");
    // A pseudo-terminal carries 8 data bits without parity only.
    EXPECT_THROW(comCV.setSettings("38400,e,7,1"), PortError);
    EXPECT_EQ(comCV.Settings(), "38400,n,8,1");
    const termios t = pty.settings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B38400));
    EXPECT_TRUE(comCV.PortOpen());
    try {
        comCV.setSettings("38400,n,9,1");
        FAIL() << "no error";
    } catch (const PortError& e) {
        EXPECT_NE(std::string(e.what()).find("\"38400,n,9,1\" are not valid"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(comCV.Settings(), "38400,n,8,1");
}

TEST_F(QtSerialControlTest, HangUpWhileWaitingIsALostLine) {
    Open();
    pty.close();
    const auto start = std::chrono::steady_clock::now();
    try {
        comCV.waitForInput(200);
        comCV.waitForInput(200);
        FAIL() << "the hang-up went unnoticed";
    } catch (const PortError& e) {
        EXPECT_EQ(e.device(), pty.slave());
        EXPECT_NE(e.reason().find("the line was lost"), std::string::npos) << e.what();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    }
    EXPECT_FALSE(comCV.PortOpen());
}

// A closed port refuses every use; a line that hangs up is noticed by the count, a read and a
// write alike (a wait, above), and closes the port.
TEST_F(QtSerialControlTest, UseOfAClosedPortOrALostLineIsAPortError) {
    using Call = void (*)(QtSerialControl&);
    const Call calls[] = {
        [](QtSerialControl& c) { c.InBufferCount(); },
        [](QtSerialControl& c) { c.Input(); },
        [](QtSerialControl& c) { c.Output("[DD0139700003F]"); },
        [](QtSerialControl& c) { c.waitForInput(5); },
    };
    comCV.setDevice(pty.slave());
    for (const Call call : calls) EXPECT_THROW(call(comCV), PortError);
    for (const Call call : {calls[0], calls[1], calls[2]}) {
        PseudoTerminal line;
        QtSerialControl control;
        control.setDevice(line.slave());
        control.setPortOpen(true);
        line.close();
        EXPECT_THROW(call(control), PortError);
        EXPECT_FALSE(control.PortOpen());
    }
}

}  // namespace
}  // namespace corvane
