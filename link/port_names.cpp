// Which device each port number stands for.
#include "link/port_names.h"

namespace corvane {

std::string SystemPortDevice(int16_t port) {
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

int16_t PortNames::addDevice(const std::string& device) {
    extra_.push_back(device);
    return static_cast<int16_t>(kSystemPortCount + static_cast<int16_t>(extra_.size()));
}

std::string PortNames::deviceFor(int16_t port) const {
    if (port >= 1 && port <= kSystemPortCount) return SystemPortDevice(port);
    const int i = port - kSystemPortCount - 1;
    if (i >= 0 && i < static_cast<int>(extra_.size())) return extra_[static_cast<size_t>(i)];
    return {};
}

}  // namespace corvane
