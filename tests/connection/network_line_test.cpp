// A controller behind ser2net on loopback, over RFC 2217 and raw TCP: the line settings that reach
// the serial device, and a device server that goes away in the middle of a transfer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QThread>

#include "connection/controller_connection.h"
#include "link/network_control.h"
#include "sim/device_server.h"
#include "tests/support/demo_line.h"

namespace corvane {
namespace {

using namespace testing_support;
using sim::Ser2net;

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
        // ser2net opens the device a moment after it takes a raw TCP connection. A pseudo-terminal
        // keeps speed, stop bits and flow control (it is always 8 bits without parity).
        termios t{};
        for (int i = 0; i < 200 && cfgetospeed(&t) != (rfc2217 ? B38400 : B9600); ++i) {
            QThread::msleep(10);
            const int fd = ::open(line.server.devicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            tcgetattr(fd, &t);
            ::close(fd);
        }
        EXPECT_EQ(cfgetospeed(&t), rfc2217 ? B38400 : B9600);
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
            auto connection = ConnectDevice(name.toStdString(), 1);
            TransferEvents events;
            events.blockStarting = [&](int block) { block == 5 ? server.stop() : void(); };
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
            EXPECT_EQ(outcome.framesSent, 5) << "a Send: the controller may hold part of it";
            EXPECT_FALSE(connection->comCV().PortOpen());
        }
    }
}

}  // namespace
}  // namespace corvane
