// Simulated controllers at the nodes given, sharing one pseudo-terminal line, each holding the
// demo show; a fault may name the node it hits.
#pragma once

#include <QString>
#include <chrono>
#include <vector>

#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane::testing_support {

struct DemoLine {
    sim::PtyServer server;

    explicit DemoLine(const std::vector<int16_t>& nodes, const std::vector<sim::Fault>& faults = {},
                      std::chrono::milliseconds lateDelay = std::chrono::milliseconds(1200))
        : server([&] {
              sim::ControllerEngine engine(
                  sim::EngineOptions{.node = nodes.front(), .lateDelay = lateDelay});
              engine.setMemory(sim::DemoMemory());
              for (int16_t n : nodes) engine.addNode(n, sim::DemoMemory());
              for (const sim::Fault& f : faults) engine.faults().add(f);
              return engine;
          }()) {}

    QString device() const { return QString::fromStdString(server.devicePath()); }
    // How many requests of the direction reached the line.
    int requests(sim::Direction direction) const {
        int n = 0;
        for (const sim::RequestRecord& r : server.requests()) n += r.direction == direction ? 1 : 0;
        return n;
    }
};

}  // namespace corvane::testing_support
