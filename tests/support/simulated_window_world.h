// The main window with the simulated controller on a pseudo-terminal selected as its port, shown.
#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include "sim/demo_show.h"
#include "sim/pty_server.h"
#include "tests/support/main_window_world.h"

namespace corvane::testing_support {

struct SimulatedWorld : MainWindowWorld {
    sim::PtyServer server{sim::ControllerEngine{}};
    SimulatedWorld() {
        server.setMemory(sim::DemoMemory());
        window->addPort(QStringLiteral("Simulator"), server.devicePath());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // How many request frames of each direction reached the controller.
    int frames(sim::Direction direction) const {
        int n = 0;
        for (const sim::RequestRecord& r : server.requests())
            if (r.direction == direction) ++n;
        return n;
    }
};

}  // namespace corvane::testing_support
