// A raw pseudo-terminal end a test holds, with a deadline on every wait: either the controller's
// end of a new pair (the tool opens slave()), or a bare client of a device such as the simulator's.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane::testing_support {

class PseudoTerminal {
  public:
    // A new pair; the test holds the master.
    PseudoTerminal() : fd_(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        char name[128];
        if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0 ||
            ptsname_r(fd_, name, sizeof name) != 0) {
            close();
            throw std::runtime_error("cannot set up a pseudo-terminal");
        }
        slave_ = name;
        makeRaw();
    }
    // The client end of device; isOpen() says whether it opened.
    explicit PseudoTerminal(const std::string& device)
        : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_ >= 0) makeRaw();
    }
    ~PseudoTerminal() { close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slave() const { return slave_; }
    bool isOpen() const { return fd_ >= 0; }

    // Writes every byte within two seconds; false when the line refuses them.
    bool write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<size_t>(n));
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, 2000) <= 0) return false;
            } else {
                return false;
            }
        }
        return true;
    }

    // What arrives until want bytes have come, the deadline passes or the line hangs up.
    std::string read(size_t want, std::chrono::milliseconds deadline) {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (got.size() < want) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                hungUp_ = true;
                break;
            }
        }
        return got;
    }
    // True when the far end goes away within the time given.
    bool hangsUpWithin(std::chrono::milliseconds within) {
        const auto end = std::chrono::steady_clock::now() + within;
        while (!hungUp_ && std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && (p.revents & (POLLHUP | POLLERR))) return true;
            read(1, std::chrono::milliseconds(1));
        }
        return hungUp_;
    }

    // The line's settings now (the master reads the slave's).
    termios settings() const {
        termios t{};
        tcgetattr(fd_, &t);
        return t;
    }

    // This end goes away: the other sees a hang-up.
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    // Raw, or the line discipline echoes and rewrites line ends.
    void makeRaw() {
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }

    int fd_;
    std::string slave_;
    bool hungUp_ = false;
};

}  // namespace corvane::testing_support
