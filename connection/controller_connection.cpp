// One controller on one line.
#include "connection/controller_connection.h"

#include <system_error>

#include "link/hex.h"
#include "link/network_control.h"
#include "link/network_ports.h"
#include "link/port_names.h"
#include "link/port_reasons.h"
#include "link/qt_serial_control.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane {

ControllerConnection::ControllerConnection(std::string device, int node,
                                           std::unique_ptr<CommControl> comCV,
                                           std::unique_ptr<Stopwatch> stopwatch)
    : device_(std::move(device)),
      label_(device_),
      comCV_(std::move(comCV)),
      stopwatch_(std::move(stopwatch)),
      link_(*comCV_, *stopwatch_, node),
      transfer_(link_, device_) {}

ControllerConnection::~ControllerConnection() = default;

TransferOutcome ControllerConnection::getScenes(SceneTable& scenes, const TransferEvents& events) {
    return transfer_.getScenes(scenes, events);
}

TransferOutcome ControllerConnection::sendScenes(const SceneTable& scenes,
                                                 const TransferEvents& events) {
    return transfer_.sendScenes(scenes, events);
}

ScanOutcome ControllerConnection::scanNodes(const std::vector<int>& nodes, int32_t limitMs,
                                            const ScanEvents& events, bool stopAtFirst) {
    return NodeScan(link_, device_).scan(nodes, limitMs, events, stopAtFirst);
}

std::unique_ptr<ControllerConnection> ConnectSerial(const std::string& device, int node) {
    return std::make_unique<ControllerConnection>(device, node, std::make_unique<QtSerialControl>(),
                                                  std::make_unique<SteadyStopwatch>());
}

std::unique_ptr<ControllerConnection> ConnectDevice(const std::string& device, int node) {
    if (!IsNetworkPortName(device)) return ConnectSerial(device, node);
    return std::make_unique<ControllerConnection>(device, node, std::make_unique<NetworkControl>(),
                                                  std::make_unique<SteadyStopwatch>());
}

bool CheckPortName(const std::string& name, std::string* problem) {
    if (!IsNetworkPortName(name)) return true;
    std::string why;
    if (ParseNetworkPortName(name, &why)) return true;
    *problem = MalformedNetworkNameReason(why);
    return false;
}

std::unique_ptr<ControllerConnection> ConnectNamed(const std::string& name, int node,
                                                   std::string* error) {
    if (name.empty()) {
        *error =
            "no device was named: a device path, COM1 to COM8, rfc2217://HOST:PORT, "
            "tcp://HOST:PORT, or sim";
        return nullptr;
    }
    if (IsNetworkPortName(name)) {
        if (!CheckPortName(name, error)) return nullptr;
        return ConnectDevice(name, node);
    }
    if (SameTextAnyCase(name, "sim")) {
        std::shared_ptr<sim::PtyServer> simulator;
        try {
            sim::ControllerEngine engine(sim::EngineOptions{});
            engine.setMemory(sim::DemoMemory());
            simulator = std::make_shared<sim::PtyServer>(std::move(engine));
        } catch (const std::system_error& e) {
            *error = std::string("the built-in simulator could not start: ") + e.what();
            return nullptr;
        }
        auto connection = ConnectSerial(simulator->devicePath(), node);
        connection->setLabel("the built-in simulator (" + simulator->devicePath() + ")");
        connection->keep(std::move(simulator));
        return connection;
    }
    if (const std::optional<int16_t> port = SystemPortNumber(name)) {
        auto connection = ConnectSerial(SystemPortDevice(*port), node);
        connection->setLabel("COM" + std::to_string(*port));
        return connection;
    }
    return ConnectSerial(name, node);
}

}  // namespace corvane
