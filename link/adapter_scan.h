// The serial adapters the system reports beyond its own eight ports (USB adapters and the like).
#pragma once

#include <string>
#include <vector>

namespace corvane {

struct SerialAdapter {
    std::string device;       // "/dev/ttyUSB0"
    std::string description;  // "FT232R USB UART", or empty when the system gives none

    friend bool operator==(const SerialAdapter&, const SerialAdapter&) = default;
};

std::vector<SerialAdapter> ScanSerialAdapters();

}  // namespace corvane
