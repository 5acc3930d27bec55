// Get and Send over a real pseudo-terminal against the simulated controller.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/port_names.h"
#include "link/qt_serial_control.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"
#include "transfer/scene_transfer.h"

namespace corvane {
namespace {

struct PtyWorld {
    sim::PtyServer server;
    PortNames names;
    int16_t port;
    QtSerialControl comCV{names};
    SteadyStopwatch stopwatch;
    ControllerLink link{comCV, stopwatch, [] { return 0; }};
    SceneTransfer transfer{link};
    std::vector<int> progress;
    TransferEvents events;

    explicit PtyWorld(sim::EngineOptions options = {}) : server(sim::ControllerEngine(options)) {
        server.setMemory(sim::DemoMemory());
        port = names.addDevice(server.devicePath());
        events.blockStarting = [this](int b) { progress.push_back(b); };
    }
};

TEST(TransferOverPty, GetBringsTheControllersMemoryIntoTheTable) {
    PtyWorld w;
    SceneTable scenes;
    const TransferOutcome outcome = w.transfer.GetScenes(w.port, scenes, w.events);
    ASSERT_TRUE(outcome.ok()) << outcome.portReason;
    EXPECT_EQ(scenes, DemoShow());
    ASSERT_EQ(w.progress.size(), 64u);
    EXPECT_TRUE(std::is_sorted(w.progress.begin(), w.progress.end()));
    EXPECT_FALSE(w.comCV.PortOpen());
}

TEST(TransferOverPty, SendPutsTheTableIntoTheControllersMemory) {
    PtyWorld w;
    SceneTable scenes;
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) scenes(s, d) = static_cast<int16_t>((s * 7 + d * 3) & 0xFF);
    ASSERT_TRUE(w.transfer.SendScenes(w.port, scenes, w.events).ok());
    EXPECT_EQ(sim::ToSceneTable(w.server.memory()), scenes);
}

TEST(TransferOverPty, LowerCaseDigitsGiveTheSameLevels) {
    sim::EngineOptions options;
    options.lowerCase = true;
    PtyWorld w(options);
    SceneTable scenes;
    ASSERT_TRUE(w.transfer.GetScenes(w.port, scenes, w.events).ok());
    EXPECT_EQ(scenes, DemoShow());
}

}  // namespace
}  // namespace corvane
