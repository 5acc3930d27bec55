// The DEVICE a command names: a device path, "COM1" to "COM8", or "sim" for the built-in
// simulated controller with its demo show.
#pragma once

#include <memory>
#include <string>

#include "link/port_names.h"

namespace corvane::sim {
class PtyServer;
}

namespace corvane::cli {

class LineDevice {
public:
    // Returns nullptr and a one-line reason in *error when the name cannot stand for a device.
    static std::unique_ptr<LineDevice> Open(const std::string& name, std::string* error);
    ~LineDevice();

    const PortNames& names() const { return names_; }
    int16_t commPort() const { return port_; }
    // What messages call it: "COM1 (/dev/ttyS0)", "/dev/ttyUSB0", "the built-in simulator".
    const std::string& label() const { return label_; }

private:
    LineDevice() = default;
    PortNames names_;
    int16_t port_ = 1;
    std::string label_;
    std::unique_ptr<sim::PtyServer> simulator_;  // only for "sim"
};

}  // namespace corvane::cli
