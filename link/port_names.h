// Which device each port number stands for: 1 to 8 are the system's own serial ports ("COM1" to
// "COM8"); numbers from 9 on are further devices the caller names (USB adapters, a simulator).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

inline constexpr int16_t kSystemPortCount = 8;

// The device that system port n (1 to 8) is on this platform: "COMn" on Windows,
// "/dev/ttyS(n-1)" on Linux.
std::string SystemPortDevice(int16_t port);

class PortNames {
public:
    // Appends a further device and returns its port number (9, 10, ...).
    int16_t addDevice(const std::string& device);
    // Replaces the further devices (a fresh scan of adapters), keeping their order.
    void setDevices(std::vector<std::string> devices) { extra_ = std::move(devices); }
    const std::vector<std::string>& devices() const { return extra_; }

    // The device for port number n; empty when n names nothing.
    std::string deviceFor(int16_t port) const;

private:
    std::vector<std::string> extra_;
};

}  // namespace corvane
