// The system's own serial ports, "COM1" to "COM8", and the devices they stand for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr int16_t kSystemPortCount = 8;

// The device that system port n (1 to 8) is: "/dev/ttyS(n-1)" on Linux, "\\.\COMn" on Windows.
std::string SystemPortDevice(int16_t port);

// The number n of "COMn" (1 to 8, "com3" as well as "COM3"); nullopt for any other name.
std::optional<int16_t> SystemPortNumber(std::string_view name);

}  // namespace corvane
