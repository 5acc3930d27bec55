// Which reported ports count as adapters: the system's own eight are listed once, as COM1 to COM8,
// whichever way the platform writes their location.
#include "link/adapter_scan.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

std::vector<std::string> Names(const char* prefix, int first) {
    std::vector<std::string> names;
    for (int n = first; n < first + 8; ++n) names.push_back(prefix + std::to_string(n));
    return names;
}

TEST(AdapterScan, TheSystemPortsAreDroppedAsEachPlatformReportsThem) {
    struct Case {
        const char* platform;
        std::vector<ReportedPort> reported;
        std::vector<std::string> systemNames;
        std::vector<SerialAdapter> adapters;
    };
    const Case cases[] = {
        {"Linux",
         {{"ttyS0", "/dev/ttyS0", ""},
          {"ttyUSB1", "/dev/ttyUSB1", "FT232R USB UART"},
          {"ttyS7", "/dev/ttyS7", ""},
          {"ttyACM0", "/dev/ttyACM0", ""},
          {"ttyS8", "/dev/ttyS8", ""}},
         Names("ttyS", 0),
         {{"/dev/ttyACM0", ""}, {"/dev/ttyS8", ""}, {"/dev/ttyUSB1", "FT232R USB UART"}}},
        // Windows gives the location as \\.\COMn, which never equals the port's own name.
        {"Windows",
         {{"COM1", "\\\\.\\COM1", "Communications Port"},
          {"COM3", "\\\\.\\COM3", "USB Serial Port"},
          {"COM8", "\\\\.\\COM8", ""},
          {"COM12", "\\\\.\\COM12", "USB Serial Port"}},
         Names("COM", 1),
         {{"\\\\.\\COM12", "USB Serial Port"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdaptersAmong(c.reported, c.systemNames), c.adapters) << c.platform;
}

// The registry's list, in its own order and with a port listed twice: after COM1 to COM8 come the
// further ports by name, COM9 before COM10, each once.
TEST(AdapterScan, FurtherComPortsFollowTheEightByName) {
    const std::vector<ReportedPort> listed = {{"COM10", "", "VCP1"},   {"com3", "", "VCP0"},
                                              {"COM9", "", "Serial1"}, {"COM1", "", "Serial0"},
                                              {"COM10", "", "VCP1"},   {"COM24", "", "BthModem0"}};
    const std::vector<SerialAdapter> further = {
        {"\\\\.\\COM9", "Serial1"}, {"\\\\.\\COM10", "VCP1"}, {"\\\\.\\COM24", "BthModem0"}};
    EXPECT_EQ(FurtherComPorts(listed), further);
}

}  // namespace
}  // namespace corvane
