// A serial port that could not be opened or was lost while open.
#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// Carries the device and a reason a technician can act on, e.g.
// "/dev/ttyUSB0: permission denied; add yourself to the group dialout (sudo usermod -aG dialout $USER) and log in again".
class PortError : public std::runtime_error {
public:
    PortError(std::string device, std::string reason)
        : std::runtime_error(device + ": " + reason), device_(std::move(device)), reason_(std::move(reason)) {}

    const std::string& device() const { return device_; }
    const std::string& reason() const { return reason_; }

private:
    std::string device_;
    std::string reason_;
};

}  // namespace corvane
