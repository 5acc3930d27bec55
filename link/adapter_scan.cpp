// The serial adapters the system reports beyond its own eight ports.
#include "link/adapter_scan.h"

#include <algorithm>

#include "link/hex.h"
#include "link/port_names.h"

namespace corvane {

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

std::vector<SerialAdapter> FurtherComPorts(const std::vector<ReportedPort>& listed) {
    std::vector<ReportedPort> further;
    for (const ReportedPort& port : listed)
        if (!SystemPortNumber(port.portName)) further.push_back(port);
    // By name, COM9 before COM10.
    std::sort(further.begin(), further.end(), [](const ReportedPort& x, const ReportedPort& y) {
        if (x.portName.size() != y.portName.size()) return x.portName.size() < y.portName.size();
        return x.portName < y.portName;
    });
    further.erase(std::unique(further.begin(), further.end(),
                              [](const ReportedPort& x, const ReportedPort& y) {
                                  return SameTextAnyCase(x.portName, y.portName);
                              }),
                  further.end());
    std::vector<SerialAdapter> found;
    found.reserve(further.size());
    for (const ReportedPort& port : further)
        found.push_back({"\\\\.\\" + port.portName, port.description});
    return found;
}

}  // namespace corvane
