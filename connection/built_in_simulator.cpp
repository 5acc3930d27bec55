// The built-in simulated controller, reached from a port list.
#include "connection/built_in_simulator.h"

namespace corvane {

std::unique_ptr<ControllerConnection> ConnectSerialOrSimulator(BuiltInSimulator* simulator,
                                                               const std::string& device,
                                                               int node) {
    if (simulator && device == simulator->device()) return simulator->connect(node);
    return ConnectDevice(device, node);
}

}  // namespace corvane
