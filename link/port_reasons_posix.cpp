// Why a device could not be opened, told from what the system says about the device itself.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "link/port_reasons.h"

namespace corvane {
namespace {

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

std::string UserName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return std::to_string(uid);
}

std::string OctalMode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string DeniedReason(const struct stat& st) {
    const std::string group = GroupName(st.st_gid);
    const bool groupMayUse = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
    if (groupMayUse)
        return "permission denied; the device belongs to the group " + group +
               ": add yourself to it with \"sudo usermod -aG " + group +
               " $USER\", then log out and back in";
    return "permission denied; only " + UserName(st.st_uid) + " may use the device (group " +
           group + ", mode " + OctalMode(st.st_mode) +
           "): ask the administrator for read and write access to it";
}

}  // namespace

std::string OpenFailureReason(const std::string& device, OpenFault fault,
                              const std::string& errorText) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return NotFoundReason();
        return "the device cannot be examined (" + std::string(std::strerror(errno)) + ")";
    }
    // The serial layer reports "in use" and "not allowed" alike; ask the system which it is.
    if (faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return DeniedReason(st);
    if (!S_ISCHR(st.st_mode)) return "this is not a serial device; choose another port";
    switch (fault) {
        case OpenFault::NotFound:
            return NoHardwareReason();
        case OpenFault::Denied:
            return BusyReason();  // the user may open it, so someone holds it
        case OpenFault::Unsupported:
            return UnsupportedReason() + " (" + errorText + ")";
        case OpenFault::Other:
            break;
    }
    return OtherOpenFailureReason(errorText);
}

}  // namespace corvane
