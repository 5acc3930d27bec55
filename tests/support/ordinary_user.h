// Root may open and write everything, so the permission tests run pieces as an ordinary user:
// nobody when the tests run as root, the tester otherwise. Every wait has a deadline.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <optional>
#include <string>

namespace corvane::testing_support {

// The ordinary user's ids: nobody's, looked up before a fork, since only plain system calls are
// safe between fork and exec.
struct UserIds {
    uid_t uid = 65534;
    gid_t gid = 65534;
};
inline UserIds Nobody() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? UserIds{nobody->pw_uid, nobody->pw_gid} : UserIds{};
}

// Drops root for good in the calling process; true when there was nothing to drop.
inline bool BecomeOrdinaryUser(UserIds user) {
    return geteuid() != 0 ||
           (setgroups(0, nullptr) == 0 && setgid(user.gid) == 0 && setuid(user.uid) == 0);
}

// Runs body in a forked child (as an ordinary user when asked) and returns the text it produced;
// nothing when the child could not drop root, died or ran past the deadline.
inline std::optional<std::string> InChild(
    const std::function<std::string()>& body, bool asOrdinaryUser,
    std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    const UserIds user = Nobody();
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (asOrdinaryUser && !BecomeOrdinaryUser(user)) _exit(2);
        const std::string out = body();
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0) _exit(3);
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    ::close(fds[1]);
    std::string out;
    bool ended = false;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (pid > 0 && !ended && std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char chunk[512];
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n > 0)
            out.append(chunk, static_cast<size_t>(n));
        else
            ended = true;
    }
    ::close(fds[0]);
    if (pid < 0) return std::nullopt;
    kill(pid, SIGKILL);  // harmless once it has ended; ends it if it hangs
    int status = 0;
    waitpid(pid, &status, 0);
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

inline std::optional<std::string> AsOrdinaryUser(const std::function<std::string()>& body) {
    return InChild(body, true);
}

// The group Debian gives serial ports to.
inline gid_t SerialGroup() {
    for (const char* name : {"dialout", "uucp"})
        if (const group* g = getgrnam(name)) return g->gr_gid;
    return getegid();
}

// Takes a device away from ordinary users as Debian gives out serial ports: owned by root and
// the serial group, with mode. A tester who is not root owns the device, and loses the owner's
// rights instead.
inline void RestrictToSerialGroup(const std::string& device, mode_t mode = 0660) {
    if (geteuid() == 0) {
        ASSERT_EQ(chown(device.c_str(), 0, SerialGroup()), 0);
        ASSERT_EQ(chmod(device.c_str(), mode), 0);
    } else {
        ASSERT_EQ(chmod(device.c_str(), mode & 0077), 0);
    }
}

}  // namespace corvane::testing_support
