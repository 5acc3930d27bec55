// A controller behind ser2net on loopback, over RFC 2217 and raw TCP: the line settings that reach
// the serial device, and a device server that goes away in the middle of a transfer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QThread>

#include "connection/controller_connection.h"
#include "link/network_control.h"
#include "tests/support/demo_line.h"
#include "tests/support/device_server.h"
#include "transfer/transfer_report.h"

namespace corvane {
namespace {

using namespace testing_support;

// The line a device server is left with once a connection is open. A pseudo-terminal keeps the
// speed, the stop bits and the flow control it is given (it is always 8 bits without parity).
termios LineSettingsOnceOpen(const std::string& device, speed_t expected) {
    termios t{};
    QElapsedTimer timer;
    timer.start();
    do {
        // ser2net opens the device a moment after it accepts a raw TCP connection.
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            tcgetattr(fd, &t);
            ::close(fd);
        }
    } while (cfgetospeed(&t) != expected && timer.elapsed() < 2000 && (QThread::msleep(10), true));
    return t;
}

TEST(NetworkLine, Rfc2217SetsTheSerialDeviceAndRawTcpLeavesTheServersSettings) {
    for (const bool rfc2217 : {true, false}) {
        DemoLine line({1});
        Ser2net server(line.device(), true, QStringLiteral("9600n82,rtscts"));
        const QString name = rfc2217 ? server.rfc2217() : server.tcp();
        SCOPED_TRACE(name.toStdString());
        NetworkControl comCV;
        comCV.setDevice(name.toStdString());
        comCV.setSettings("38400,n,8,1");
        comCV.setPortOpen(true);
        const termios t = LineSettingsOnceOpen(line.server.devicePath(), rfc2217 ? B38400 : B9600);
        EXPECT_EQ(cfgetospeed(&t), rfc2217 ? B38400 : B9600);
        EXPECT_EQ(cfgetispeed(&t), rfc2217 ? B38400 : B9600);
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB), tcflag_t{CS8});
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, !rfc2217) << "stop bits";
        EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, !rfc2217) << "flow control";
    }
}

TEST(NetworkLine, ADeviceServerStoppedMidTransferChangesNothingAndSaysWhatWasSent) {
    for (const bool rfc2217 : {true, false}) {
        for (const bool get : {true, false}) {
            DemoLine line({1});
            Ser2net server(line.device());
            const QString name = rfc2217 ? server.rfc2217() : server.tcp();
            SCOPED_TRACE(name.toStdString() + (get ? " get" : " send"));
            std::string error;
            auto connection = ConnectNamed(name.toStdString(), 1, &error);
            ASSERT_TRUE(connection) << error;
            TransferEvents events;
            events.blockStarting = [&](int block) {
                if (block == 5) server.stop();
            };
            const SceneTable before = SceneTable::with({{0, 0, 9}, {40, 3, 77}});
            SceneTable table = before;
            const TransferOutcome outcome =
                get ? connection->getScenes(table, events) : connection->sendScenes(table, events);
            EXPECT_EQ(outcome.kind, TransferOutcome::Kind::PortFailed);
            EXPECT_EQ(outcome.block, 5);
            EXPECT_EQ(outcome.portDevice, name.toStdString());
            EXPECT_EQ(outcome.portReason.rfind("the device server closed the connection", 0), 0u)
                << outcome.portReason;
            EXPECT_EQ(table, before);
            if (!get) {
                EXPECT_EQ(DescribeSendConsequence(outcome),
                          "The controller may hold part of the show.");
            }
            EXPECT_FALSE(connection->comCV().PortOpen());
        }
    }
}

}  // namespace
}  // namespace corvane
