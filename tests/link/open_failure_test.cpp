// Ports that cannot be opened: each failure names the device and says what to do, and leaves the
// port closed. The permission cases run as an ordinary user, since root opens anything.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <string>

#include "link/port_error.h"
#include "link/qt_serial_control.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane {
namespace {

using testing_support::PseudoTerminal;

// The reason the control gives for failing to open device; "" when it opened.
std::string OpenReason(const std::string& device) {
    QtSerialControl comCV;
    comCV.setDevice(device);
    try {
        comCV.setPortOpen(true);
    } catch (const PortError& e) {
        EXPECT_EQ(e.device(), device.empty() ? "the serial port" : device);
        EXPECT_FALSE(comCV.PortOpen());
        return e.reason();
    }
    return "";
}

std::string OpenReasonAsOrdinaryUser(const std::string& device) {
    return testing_support::AsOrdinaryUser([&] { return OpenReason(device); })
        .value_or("<no answer>");
}

std::string GroupOf(const std::string& device) {
    struct stat st {};
    stat(device.c_str(), &st);
    const group* g = getgrgid(st.st_gid);
    return g ? g->gr_name : std::to_string(st.st_gid);
}

TEST(OpenFailure, EachReasonSaysWhatToDo) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("not-a-port").toStdString();
    ASSERT_EQ(::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0666)), 0);
    const struct {
        std::string device;
        std::vector<std::string> says;
    } cases[] = {
        {"/dev/ttyCorvaneNoSuchAdapter0", {"no such device", "adapter is plugged in"}},
        {"", {"no device was chosen"}},
        {file, {"not a serial device"}},
        {"/dev/null", {"not a serial port"}},
    };
    for (const auto& c : cases) {
        const std::string reason = OpenReason(c.device);
        for (const std::string& part : c.says)
            EXPECT_NE(reason.find(part), std::string::npos) << c.device << ": " << reason;
    }
}

// Closed to the group's members: how to join the group; closed to all but the owner: who may.
TEST(OpenFailure, PermissionDeniedSaysWhoMayUseTheDeviceAndHowToJoinIt) {
    for (const mode_t mode : {mode_t{0660}, mode_t{0600}}) {
        PseudoTerminal pty;
        testing_support::RestrictToSerialGroup(pty.slave(), mode);
        const std::string group = GroupOf(pty.slave());
        const std::string reason = OpenReasonAsOrdinaryUser(pty.slave());
        const std::vector<std::string> says =
            mode == 0660 ? std::vector<std::string>{"permission denied", "the group " + group,
                                                    "sudo usermod -aG " + group + " $USER",
                                                    "log out and back in"}
                         : std::vector<std::string>{"permission denied; only ", "group " + group};
        for (const std::string& part : says)
            EXPECT_NE(reason.find(part), std::string::npos) << reason;
    }
}

}  // namespace
}  // namespace corvane
