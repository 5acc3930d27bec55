// One controller on one line.
#include "connection/controller_connection.h"

#include <algorithm>
#include <system_error>

#include "connection/built_in_simulator.h"
#include "link/hex.h"
#include "link/network_control.h"
#include "link/network_ports.h"
#include "link/port_names.h"
#include "link/port_reasons.h"
#include "link/system_serial_control.h"

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
    return std::make_unique<ControllerConnection>(device, node, MakeSystemSerialControl(),
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
        std::shared_ptr<BuiltInSimulator> simulator;
        try {
            simulator = std::make_shared<BuiltInSimulator>(false);
        } catch (const std::system_error& e) {
            *error = std::string("the built-in simulator could not start: ") + e.what();
            return nullptr;
        }
        auto connection = simulator->connect(node);
        connection->setLabel(simulator->label());
        connection->keep(std::move(simulator));
        return connection;
    }
    if (const std::optional<int16_t> port = SystemPortNumber(name)) {
        auto connection = ConnectSerial(SystemPortDevice(*port), node);
        connection->setLabel("COM" + std::to_string(*port));
        return connection;
    }
#if !defined(_WIN32)
    // "COM9" would otherwise be tried as a file of that name in the working folder. On Windows
    // every COM port is the system's, and the serial control opens it by that name.
    if (name.size() > 3 && SameTextAnyCase(name.substr(0, 3), "COM") &&
        std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        *error = name +
                 " is not one of the system ports, which are COM1 to COM8; name an adapter by its "
                 "device path (/dev/ttyUSB0)";
        return nullptr;
    }
#endif
    return ConnectSerial(name, node);
}

}  // namespace corvane
