// Runs a piece of a test in a forked child as an ordinary user, because root may read and write
// everything: nobody when the tests run as root, the tester otherwise. With a hard deadline.
#pragma once

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace corvane::testing_support {

// Drops root in the calling process; false when that fails.
inline bool becomeNobody() {
    if (geteuid() != 0) return true;
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) return false;
    return setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
}

// Runs body in a child process (as nobody if drop is true) and returns the text it produced, or
// nullopt when the child failed to drop root, died or ran past the deadline.
inline std::optional<std::string> inChild(
    const std::function<std::string()>& body, bool drop,
    std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        close(fds[0]);
        const std::string out = (!drop || becomeNobody()) ? body() : std::string("\x01no-drop");
        ssize_t done = 0;
        while (done < ssize_t(out.size())) {
            const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0) break;
            done += n;
        }
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    bool finished = false;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!finished) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0) continue;
        char chunk[512];
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n <= 0) {
            finished = true;
        } else {
            out.append(chunk, size_t(n));
        }
    }
    close(fds[0]);
    if (!finished) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!finished || !WIFEXITED(status) || out == "\x01no-drop") return std::nullopt;
    return out;
}

inline std::optional<std::string> asOrdinaryUser(const std::function<std::string()>& body) {
    return inChild(body, true);
}

}  // namespace corvane::testing_support
