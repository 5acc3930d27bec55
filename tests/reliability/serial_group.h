// Takes a device away from ordinary users the way Debian gives out serial ports: owned by root
// and the serial group, mode 0660. A tester who is not root loses the owner's rights instead,
// since the device is theirs.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace corvane::reliability {

inline void RestrictToSerialGroup(const std::string& device) {
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(device.c_str(), 0060), 0);
        return;
    }
    gid_t group = getegid();
    for (const char* name : {"dialout", "uucp"}) {
        if (const struct group* g = getgrnam(name)) {
            group = g->gr_gid;
            break;
        }
    }
    ASSERT_EQ(chown(device.c_str(), 0, group), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);
}

}  // namespace corvane::reliability
