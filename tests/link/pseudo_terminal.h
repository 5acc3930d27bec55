// A pseudo-terminal pair the test owns: the tool opens the slave by path, the test plays the
// controller on the master. Every read has a deadline.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <cstdlib>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane::testing_support {

class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0) throw std::runtime_error("posix_openpt failed");
        char name[128];
        if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
            ptsname_r(master_, name, sizeof name) != 0)
            throw std::runtime_error("cannot set up the pseudo-terminal");
        slave_ = name;
        // Raw, or the line discipline echoes and rewrites line ends.
        termios t{};
        tcgetattr(master_, &t);
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
    }
    ~PseudoTerminal() { CloseMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slave() const { return slave_; }
    int master() const { return master_; }

    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw std::runtime_error("write to the pseudo-terminal failed");
            bytes.remove_prefix(static_cast<size_t>(n));
        }
    }

    // What the tool wrote, until want bytes have come or the deadline passes.
    std::string Read(size_t want, std::chrono::milliseconds deadline) {
        std::string out;
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (out.size() < want) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            out.append(buffer, static_cast<size_t>(n));
        }
        return out;
    }

    // What the termios of the line says now (the master reads the slave's settings).
    termios Settings() const {
        termios t{};
        tcgetattr(master_, &t);
        return t;
    }

    // The controller's end goes away: the slave sees a hang-up.
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_;
};

}  // namespace corvane::testing_support
