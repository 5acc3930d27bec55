// Ports that cannot be opened: each failure names the device and says what to do, and leaves the
// port closed. The permission case runs as an unprivileged user, since root opens anything.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <string>

#include "link/port_error.h"
#include "link/qt_serial_control.h"
#include "tests/link/pseudo_terminal.h"

namespace corvane {
namespace {

using testing_support::PseudoTerminal;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// The reason the control gives for failing to open device; "" when it opened.
std::string OpenReason(const std::string& device) {
    QtSerialControl comCV;
    comCV.setDevice(device);
    try {
        comCV.setPortOpen(true);
    } catch (const PortError& e) {
        EXPECT_EQ(e.device(), device);
        EXPECT_FALSE(comCV.PortOpen());
        return e.reason();
    }
    return "";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(OpenFailure, MissingDeviceSaysToCheckTheAdapter) {
    const std::string reason = OpenReason("/dev/ttyCorvaneNoSuchAdapter0");
    EXPECT_TRUE(Contains(reason, "no such device")) << reason;
    EXPECT_TRUE(Contains(reason, "adapter is plugged in")) << reason;
}

TEST(OpenFailure, APortWithoutADeviceIsSaidSo) {
    QtSerialControl comCV;
    try {
        comCV.setPortOpen(true);
        FAIL() << "opened";
    } catch (const PortError& e) {
        EXPECT_EQ(e.device(), "the serial port");
        EXPECT_TRUE(Contains(e.reason(), "no device was chosen")) << e.what();
    }
    EXPECT_FALSE(comCV.PortOpen());
}

TEST(OpenFailure, FileThatIsNoSerialDeviceIsSaidToBeNone) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("not-a-port").toStdString();
    ASSERT_EQ(::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0666)), 0);
    const std::string reason = OpenReason(path);
    EXPECT_TRUE(Contains(reason, "not a serial device")) << reason;
}

TEST(OpenFailure, CharacterDeviceThatIsNoTerminalIsSaidToBeNoPort) {
    const std::string reason = OpenReason("/dev/null");
    EXPECT_TRUE(Contains(reason, "not a serial port")) << reason;
}

TEST(OpenFailure, DeviceHeldByAnotherProgramHasItsOwnMessage) {
    PseudoTerminal pty;
    QtSerialControl holder;
    holder.setDevice(pty.slave());
    holder.setPortOpen(true);
    const std::string reason = OpenReason(pty.slave());
    EXPECT_TRUE(Contains(reason, "in use by another program")) << reason;
    EXPECT_TRUE(holder.PortOpen());
    holder.setPortOpen(false);
    EXPECT_EQ(OpenReason(pty.slave()), "");  // free again once the holder lets go
}

// Opens device as an unprivileged user in a child process and hands back the reason.
std::string OpenReasonAsAnotherUser(const std::string& device) {
    int fds[2];
    if (pipe(fds) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        ::close(fds[0]);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0))
            _exit(2);
        const std::string reason = OpenReason(device);
        const ssize_t written = ::write(fds[1], reason.data(), reason.size());
        _exit(written == static_cast<ssize_t>(reason.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string reason;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[1024];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        reason.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    kill(child, SIGKILL);  // harmless if it has ended; ends it if it hangs
    int status = 0;
    waitpid(child, &status, 0);
    return reason;
}

// Gives device to group with mode; a user other than root loses the owner's rights instead.
void Restrict(const std::string& device, gid_t group, mode_t mode) {
    if (geteuid() == 0) {
        ASSERT_EQ(chown(device.c_str(), 0, group), 0);
        ASSERT_EQ(chmod(device.c_str(), mode), 0);
    } else {
        ASSERT_EQ(chmod(device.c_str(), mode & 0077), 0);
    }
}

gid_t SerialGroup() {
    for (const char* name : {"dialout", "uucp"})
        if (const group* g = getgrnam(name)) return g->gr_gid;
    return getegid();
}

std::string GroupOf(const std::string& device) {
    struct stat st {};
    stat(device.c_str(), &st);
    const group* g = getgrgid(st.st_gid);
    return g ? g->gr_name : std::to_string(st.st_gid);
}

TEST(OpenFailure, PermissionDeniedNamesTheDevicesGroupAndHowToJoinIt) {
    PseudoTerminal pty;
    Restrict(pty.slave(), SerialGroup(), 0660);
    const std::string group = GroupOf(pty.slave());
    const std::string reason = OpenReasonAsAnotherUser(pty.slave());
    EXPECT_TRUE(Contains(reason, "permission denied")) << reason;
    EXPECT_TRUE(Contains(reason, "the group " + group)) << reason;
    EXPECT_TRUE(Contains(reason, "sudo usermod -aG " + group + " $USER")) << reason;
    EXPECT_TRUE(Contains(reason, "log out and back in")) << reason;
}

TEST(OpenFailure, PermissionDeniedToAllButTheOwnerSaysWhoMayUseIt) {
    PseudoTerminal pty;
    Restrict(pty.slave(), SerialGroup(), 0600);
    const std::string reason = OpenReasonAsAnotherUser(pty.slave());
    EXPECT_TRUE(Contains(reason, "permission denied; only ")) << reason;
    EXPECT_TRUE(Contains(reason, "group " + GroupOf(pty.slave()))) << reason;
}

}  // namespace
}  // namespace corvane
