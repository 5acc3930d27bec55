// The serial adapters the system reports beyond its own eight ports (USB adapters and the like).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct SerialAdapter {
    std::string device;       // "/dev/ttyUSB0"
    std::string description;  // "FT232R USB UART", or empty when the system gives none

    friend bool operator==(const SerialAdapter&, const SerialAdapter&) = default;
};

// A port as the system lists it: its short name ("ttyUSB0", "COM9"), where it lives
// ("/dev/ttyUSB0", "\\.\COM9") and what it is.
struct ReportedPort {
    std::string portName;
    std::string systemLocation;
    std::string description;
};

// The short name the system gives system port n (1 to 8): "ttyS(n-1)" on Linux, "COMn" on Windows.
std::string SystemPortName(int16_t port);

// The reported ports that are not one of the eight system ports, by device. Ports are told apart
// by their short name, which reads the same in both lists on every platform.
std::vector<SerialAdapter> AdaptersAmong(const std::vector<ReportedPort>& reported,
                                         const std::vector<std::string>& systemPortNames);

// Windows: the COM ports the system lists (name and device kind), beyond COM1 to COM8, by name
// (COM9 before COM10), each once, as "\\.\COMn".
std::vector<SerialAdapter> FurtherComPorts(const std::vector<ReportedPort>& listed);

// What the system reports now.
std::vector<SerialAdapter> ScanSerialAdapters();

}  // namespace corvane
