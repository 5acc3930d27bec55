// Get and Send over a real pseudo-terminal against the simulated controller.
#include <gtest/gtest.h>

#include <algorithm>

#include "connection/controller_connection.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane {
namespace {

struct PtyWorld {
    sim::PtyServer server;
    std::unique_ptr<ControllerConnection> connection;
    std::vector<int> progress;
    TransferEvents events;

    explicit PtyWorld(sim::EngineOptions options = {})
        : server(sim::ControllerEngine(options)), connection(ConnectSerial(server.devicePath(), options.node)) {
        server.setMemory(sim::DemoMemory());
        events.blockStarting = [this](int b) { progress.push_back(b); };
    }
};

TEST(TransferOverPty, GetBringsTheControllersMemoryIntoTheTable) {
    PtyWorld w;
    SceneTable scenes;
    const TransferOutcome outcome = w.connection->getScenes(scenes, w.events);
    ASSERT_TRUE(outcome.ok()) << outcome.portReason;
    EXPECT_EQ(scenes, DemoShow());
    ASSERT_EQ(w.progress.size(), 64u);
    EXPECT_TRUE(std::is_sorted(w.progress.begin(), w.progress.end()));
    EXPECT_FALSE(w.connection->comCV().PortOpen());
}

TEST(TransferOverPty, SendPutsTheTableIntoTheControllersMemory) {
    PtyWorld w;
    SceneTable scenes;
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) scenes(s, d) = static_cast<int16_t>((s * 7 + d * 3) & 0xFF);
    ASSERT_TRUE(w.connection->sendScenes(scenes, w.events).ok());
    EXPECT_EQ(sim::ToSceneTable(w.server.memory()), scenes);
}

TEST(TransferOverPty, LowerCaseDigitsGiveTheSameLevels) {
    sim::EngineOptions options;
    options.lowerCase = true;
    PtyWorld w(options);
    SceneTable scenes;
    ASSERT_TRUE(w.connection->getScenes(scenes, w.events).ok());
    EXPECT_EQ(scenes, DemoShow());
}

}  // namespace
}  // namespace corvane
