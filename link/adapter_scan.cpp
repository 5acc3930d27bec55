// The serial adapters the system reports beyond its own eight ports.
#include "link/adapter_scan.h"

#include <QSerialPortInfo>

#include <algorithm>

#include "link/port_names.h"

namespace corvane {

std::vector<SerialAdapter> ScanSerialAdapters() {
    std::vector<std::string> system;
    for (int16_t n = 1; n <= kSystemPortCount; ++n) system.push_back(SystemPortDevice(n));

    std::vector<SerialAdapter> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialAdapter a{info.systemLocation().toStdString(), info.description().toStdString()};
        if (std::find(system.begin(), system.end(), a.device) != system.end()) continue;
        found.push_back(std::move(a));
    }
    std::sort(found.begin(), found.end(), [](const SerialAdapter& x, const SerialAdapter& y) { return x.device < y.device; });
    return found;
}

}  // namespace corvane
