// corvane-scenes through a device server: ser2net on loopback in front of the simulated controller,
// reached over RFC 2217 and raw TCP; and the names that reach nothing.
#include <gtest/gtest.h>

#include "sim/device_server.h"
#include "tests/support/demo_line.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;
using sim::FreePort;
using sim::Ser2net;

TEST(NetworkPort, EveryCommandWorksThroughBothKindsOfDeviceServer) {
    for (const bool rfc2217 : {true, false}) {
        DemoLine line({1, 5});
        Ser2net server(line.device());
        const QString port = rfc2217 ? server.rfc2217() : server.tcp();
        SCOPED_TRACE(port.toStdString());
        ShowFolder dir;
        const SceneTable show = SceneTable::with({{0, 0, 255}, {63, 63, 1}, {20, 7, 128}});
        const QString sent = dir.write("sent.SCN", show);
        ProgramRun r = RunScenes({"get", "--port", port, dir.path("got.SCN")});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(FileBytes(dir.path("got.SCN")), SceneBytes(DemoShow()));
        r = RunScenes({"send", "--port", port, "--node", "5", "--verify", sent});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(sim::ToSceneTable(line.server.memory(5)), show);
        r = RunScenes({"verify", "--port", port, "--node", "5", sent});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, "The controller holds exactly " + sent + ".\n");
        r = RunScenes({"scan", "--port", port, "--nodes", "1,5", "--limit", "100"});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, "1 Node: 01\n5 Node: 05\n");
        r = RunScenes(
            {"backup", "--port", port, "--nodes", "1,5", "--limit", "100", dir.dir.path()});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(FileBytes(dir.path("node-1.SCN")), SceneBytes(DemoShow()));
        EXPECT_EQ(FileBytes(dir.path("node-5.SCN")), SceneBytes(show));
    }
}

TEST(NetworkPort, ANameThatReachesNothingIsAPortErrorAndWritesNothing) {
    const QString free = QString::number(FreePort());
    DemoLine line({1});
    Ser2net server(line.device());  // its raw port, taken for RFC 2217, answers nothing of it
    const QString rawAsRfc2217 = QString(server.tcp()).replace("tcp://", "rfc2217://");
    const struct {
        QString port;
        int status;
        QString says;
    } cases[] = {
        {"tcp://127.0.0.1:" + free, 3, "connection refused by 127.0.0.1:" + free},
        {"rfc2217://[::1]:" + free, 3, "connection refused by [::1]:" + free},
        {"tcp://no-such-host.invalid:4001", 3, "no-such-host.invalid: no such host"},
        {rawAsRfc2217, 3, "the device server did not answer the line settings within 3 s"},
        {"rfc2217://127.0.0.1", 2, "--port: \"rfc2217://127.0.0.1\": the port number is missing"},
        {"tcp://host:70000", 2, "the port must be a number from 1 to 65535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        ShowFolder dir;
        const ProgramRun r = RunScenes({"get", "--port", c.port, dir.path("x.SCN")});
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.startsWith("corvane-scenes: ") && r.err.contains(c.says))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.path("x.SCN")));
    }
}

}  // namespace
}  // namespace corvane
