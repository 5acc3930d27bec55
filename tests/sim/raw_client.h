// A bare client of the simulator's pseudo-terminal: open(), termios and poll(), nothing of the
// tool.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>

namespace corvane::sim {

class RawClient {
  public:
    explicit RawClient(const std::string& device) {
        fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~RawClient() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    bool send(std::string_view text) {
        while (!text.empty()) {
            const ssize_t n = ::write(fd_, text.data(), text.size());
            if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
            if (n > 0) text.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    // What arrives until count characters are in or the time is up.
    std::string receive(size_t count, std::chrono::milliseconds within) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + within;
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
            char buffer[512];
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

    // Everything that arrives within the time given.
    std::string receiveFor(std::chrono::milliseconds period) { return receive(SIZE_MAX, period); }

    // True when the line drops (a read gives end of file or an error, or poll reports a hang-up)
    // within the time given.
    bool hangsUpWithin(std::chrono::milliseconds within) {
        const auto deadline = std::chrono::steady_clock::now() + within;
        while (!hungUp_ && std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                if (p.revents & (POLLHUP | POLLERR)) return true;
                receive(1, std::chrono::milliseconds(1));
            }
        }
        return hungUp_;
    }

  private:
    int fd_ = -1;
    bool hungUp_ = false;
};

}  // namespace corvane::sim
