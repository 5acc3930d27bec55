// A controller connection over a scripted serial control and a stopwatch the test drives.
#pragma once

#include <memory>

#include "connection/controller_connection.h"
#include "tests/support/fake_comm_control.h"
#include "tests/support/test_stopwatch.h"

namespace corvane::testing_support {

struct ScriptedConnection {
    explicit ScriptedConnection(int node = 1) {
        auto stopwatch = std::make_unique<TestStopwatch>();
        auto comCV = std::make_unique<FakeCommControl>(*stopwatch);
        clock = stopwatch.get();
        port = comCV.get();
        connection = std::make_unique<ControllerConnection>(FakeCommControl::kDevice, node, std::move(comCV),
                                                            std::move(stopwatch));
    }

    TestStopwatch* clock = nullptr;
    FakeCommControl* port = nullptr;
    std::unique_ptr<ControllerConnection> connection;
};

}  // namespace corvane::testing_support
