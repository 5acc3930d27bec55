// The built-in simulated controller on Linux: a pseudo-terminal served by a background thread.
#include "connection/built_in_simulator.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane {

struct BuiltInSimulator::Impl {
    explicit Impl(bool paced) : server(Engine(), sim::PtyServerOptions{paced, {}}) {}
    static sim::ControllerEngine Engine() {
        sim::ControllerEngine engine(sim::EngineOptions{});
        engine.setMemory(sim::DemoMemory());
        return engine;
    }
    sim::PtyServer server;
};

BuiltInSimulator::BuiltInSimulator(bool paced) : impl_(std::make_unique<Impl>(paced)) {}

BuiltInSimulator::~BuiltInSimulator() = default;

const std::string& BuiltInSimulator::device() const {
    return impl_->server.devicePath();
}

std::string BuiltInSimulator::label() const {
    return "the built-in simulator (" + device() + ")";
}

std::unique_ptr<ControllerConnection> BuiltInSimulator::connect(int node) {
    return ConnectSerial(device(), node);
}

}  // namespace corvane
