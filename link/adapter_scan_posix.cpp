// The serial adapters Linux reports beyond its own eight ports, as Qt lists them.
#include <QSerialPortInfo>

#include "link/adapter_scan.h"
#include "link/port_names.h"

namespace corvane {

std::string SystemPortName(int16_t port) {
    return "ttyS" + std::to_string(port - 1);
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
