// A serial port that could not be opened or was lost while open.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace corvane {

// Carries the device and a reason a technician can act on, e.g.
// "/dev/ttyUSB0: permission denied; add yourself to the group dialout (sudo usermod -aG dialout
// $USER) and log in again".
class PortError : public std::runtime_error {
  public:
    PortError(std::string device, std::string reason)
        : std::runtime_error(device + ": " + reason),
          parts_(std::make_shared<const Parts>(Parts{std::move(device), std::move(reason)})) {}

    const std::string& device() const { return parts_->device; }
    const std::string& reason() const { return parts_->reason; }

  private:
    struct Parts {
        std::string device;
        std::string reason;
    };
    // Shared, so that copying the error while it is thrown or caught cannot itself throw.
    std::shared_ptr<const Parts> parts_;
};

}  // namespace corvane
