// The serial adapters the system reports beyond its own eight ports.
#include "link/adapter_scan.h"

#include <QSerialPortInfo>
#include <algorithm>

#include "link/port_names.h"

namespace corvane {

std::string SystemPortName(int16_t port) {
    return "ttyS" + std::to_string(port - 1);
}

std::vector<SerialAdapter> AdaptersAmong(const std::vector<ReportedPort>& reported,
                                         const std::vector<std::string>& systemPortNames) {
    std::vector<SerialAdapter> found;
    for (const ReportedPort& port : reported) {
        if (std::find(systemPortNames.begin(), systemPortNames.end(), port.portName) !=
            systemPortNames.end())
            continue;
        found.push_back({port.systemLocation, port.description});
    }
    std::sort(found.begin(), found.end(),
              [](const SerialAdapter& x, const SerialAdapter& y) { return x.device < y.device; });
    return found;
}

std::vector<SerialAdapter> ScanSerialAdapters() {
    std::vector<std::string> system;
    for (int16_t n = 1; n <= kSystemPortCount; ++n) system.push_back(SystemPortName(n));
    std::vector<ReportedPort> reported;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        reported.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                            info.description().toStdString()});
    return AdaptersAmong(reported, system);
}

}  // namespace corvane
