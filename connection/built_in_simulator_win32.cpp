// The built-in simulated controller on Windows: the same engine, served inside the process.
#include "connection/built_in_simulator.h"
#include "link/stopwatch.h"
#include "sim/demo_show.h"
#include "sim/in_process_line.h"

namespace corvane {

struct BuiltInSimulator::Impl {
    explicit Impl(bool paced)
        : controller(std::make_shared<sim::InProcessController>(Engine(), paced)) {}
    static sim::ControllerEngine Engine() {
        sim::ControllerEngine engine(sim::EngineOptions{});
        engine.setMemory(sim::DemoMemory());
        return engine;
    }
    std::string device = "sim";
    std::shared_ptr<sim::InProcessController> controller;
};

BuiltInSimulator::BuiltInSimulator(bool paced) : impl_(std::make_unique<Impl>(paced)) {}

BuiltInSimulator::~BuiltInSimulator() = default;

const std::string& BuiltInSimulator::device() const {
    return impl_->device;
}

std::string BuiltInSimulator::label() const {
    return "the built-in simulator";
}

std::unique_ptr<ControllerConnection> BuiltInSimulator::connect(int node) {
    return std::make_unique<ControllerConnection>(
        device(), node, std::make_unique<sim::InProcessLine>(impl_->controller),
        std::make_unique<SteadyStopwatch>());
}

}  // namespace corvane
