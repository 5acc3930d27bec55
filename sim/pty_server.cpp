// A simulated controller on the far end of a pseudo-terminal.
#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <system_error>

namespace corvane::sim {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void throwErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void setFlag(int fd, int getCmd, int setCmd, int flag) {
    const int flags = ::fcntl(fd, getCmd);
    if (flags < 0 || ::fcntl(fd, setCmd, flags | flag) < 0) throwErrno("fcntl");
}

timespec toTimespec(Clock::duration d) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(d, Clock::duration::zero()));
    return timespec{static_cast<time_t>(ns.count() / 1'000'000'000),
                    static_cast<long>(ns.count() % 1'000'000'000)};
}

}  // namespace

// One reply (or the closing of the line) waiting to go out.
struct PtyServer::Pending {
    std::string bytes;
    bool close = false;
    Clock::time_point due;    // the earliest moment it may start
    Clock::time_point start;  // when it started going out
    size_t sent = 0;
};

namespace {

// The reply due first; of replies due together, the one asked for first.
template <typename Replies>
auto earliest(Replies& waiting) {
    return std::min_element(waiting.begin(), waiting.end(),
                            [](const auto& a, const auto& b) { return a.due < b.due; });
}

}  // namespace

PtyServer::PtyServer(ControllerEngine engine, PtyServerOptions options)
    : options_(std::move(options)), engine_(std::move(engine)) {
    try {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0) throwErrno("posix_openpt");
        setFlag(master_, F_GETFD, F_SETFD, FD_CLOEXEC);
        setFlag(master_, F_GETFL, F_SETFL, O_NONBLOCK);
        if (::grantpt(master_) != 0) throwErrno("grantpt");
        if (::unlockpt(master_) != 0) throwErrno("unlockpt");
        std::array<char, PATH_MAX> name{};
        if (::ptsname_r(master_, name.data(), name.size()) != 0) throwErrno("ptsname_r");
        devicePath_ = name.data();

        // Holding the device open keeps the line up while no client has it open (a pseudo-
        // terminal's master otherwise reads as hung up), and carries its raw settings across.
        slaveHold_ = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slaveHold_ < 0) throwErrno("open pseudo-terminal device");
        termios tio{};
        if (::tcgetattr(slaveHold_, &tio) != 0) throwErrno("tcgetattr");
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B38400);
        ::cfsetospeed(&tio, B38400);
        if (::tcsetattr(slaveHold_, TCSANOW, &tio) != 0) throwErrno("tcsetattr");

        int wake[2];
        if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) throwErrno("pipe2");
        wakeRead_ = wake[0];
        wakeWrite_ = wake[1];
        thread_ = std::thread(&PtyServer::run, this);
    } catch (...) {
        closeFd(master_);
        closeFd(slaveHold_);
        closeFd(wakeRead_);
        closeFd(wakeWrite_);
        throw;
    }
}

PtyServer::~PtyServer() {
    stop();
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

void PtyServer::stop() {
    if (thread_.joinable()) {
        const char wake = 'x';
        while (::write(wakeWrite_, &wake, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    closeFd(master_);
    closeFd(slaveHold_);
}

SceneMemory PtyServer::memory() const {
    std::lock_guard lock(mutex_);
    return engine_.memory();
}

SceneMemory PtyServer::memory(int16_t node) const {
    std::lock_guard lock(mutex_);
    return engine_.memory(node);
}

void PtyServer::setMemory(const SceneMemory& memory) {
    std::lock_guard lock(mutex_);
    engine_.setMemory(memory);
}

void PtyServer::addFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    engine_.faults().add(fault);
}

void PtyServer::clearFaults() {
    std::lock_guard lock(mutex_);
    engine_.faults().clear();
}

std::vector<RequestRecord> PtyServer::requests() const {
    std::lock_guard lock(mutex_);
    return {engine_.requests().begin(), engine_.requests().end()};
}

bool PtyServer::waitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return engine_.requestCount() >= count; });
}

bool PtyServer::lineClosed() const {
    std::lock_guard lock(mutex_);
    return lineClosed_;
}

void PtyServer::run() {
    const bool paced = options_.paced;
    std::vector<Pending> waiting;    // replies not yet started, in the order they were asked for
    std::optional<Pending> current;  // the reply going out
    Clock::time_point lastArrival;   // when the last character received would have arrived
    Clock::time_point lastEnd;       // when the last reply's last character went out
    Clock::time_point quietUntil;    // after a read error: leave the device alone until then
    bool writeBlocked = false;
    std::array<char, 4096> buffer{};

    for (;;) {
        Clock::time_point now = Clock::now();

        // Send what is due. Each reply keeps its own time (a late one holds back no other), but
        // the line carries one reply at a time: one that falls due while another is going out
        // follows it.
        while (!writeBlocked) {
            if (!current) {
                const auto next = earliest(waiting);
                if (next == waiting.end() || now < next->due) break;
                current = std::move(*next);
                waiting.erase(next);
                current->start = paced ? std::max(current->due, lastEnd) : now;
            }
            Pending& p = *current;
            if (p.close) {
                closeFd(master_);
                closeFd(slaveHold_);
                {
                    std::lock_guard lock(mutex_);
                    lineClosed_ = true;
                }
                return;
            }
            size_t allowed = p.bytes.size();
            if (paced) {
                // A character is there once all its bits have gone down the line.
                const auto characters = (now - p.start) / kCharacterTime;
                allowed = std::min(allowed, static_cast<size_t>(characters));
            }
            if (allowed > p.sent) {
                const ssize_t n = ::write(master_, p.bytes.data() + p.sent, allowed - p.sent);
                if (n < 0 && errno != EAGAIN && errno != EINTR) return;  // the device is gone
                if (n > 0) p.sent += static_cast<size_t>(n);
                if (p.sent < allowed) {
                    writeBlocked = n < 0 && errno == EAGAIN;
                    continue;
                }
            }
            if (p.sent < p.bytes.size()) break;  // the next character is not due yet
            lastEnd = paced ? p.start + static_cast<long>(p.bytes.size()) * kCharacterTime : now;
            current.reset();
        }

        // Sleep until the next character or reply is due, input arrives, the device can take
        // more, or the owner stops the server.
        std::optional<Clock::time_point> wakeAt;
        if (current && !writeBlocked) {
            wakeAt = current->start + static_cast<long>(current->sent + 1) * kCharacterTime;
        } else if (!current && !waiting.empty()) {
            wakeAt = earliest(waiting)->due;
        }
        const bool quiet = now < quietUntil;
        if (quiet && (!wakeAt || quietUntil < *wakeAt)) wakeAt = quietUntil;

        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {quiet ? -1 : master_, 0, 0}};
        fds[1].events = static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0));
        timespec timeout{};
        if (wakeAt) timeout = toTimespec(*wakeAt - now);
        const int ready = ::ppoll(fds, 2, wakeAt ? &timeout : nullptr, nullptr);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        if (fds[1].revents & POLLOUT) writeBlocked = false;
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;

        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n <= 0) {
            // EAGAIN is a spurious wake; anything else means no client end is open just now.
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                quietUntil = Clock::now() + std::chrono::milliseconds(10);
            continue;
        }
        const Clock::time_point readAt = Clock::now();
        std::vector<RequestRecord> handled;
        for (ssize_t i = 0; i < n; ++i) {
            const Clock::time_point arrival =
                paced ? std::max(lastArrival, readAt) + kCharacterTime : readAt;
            lastArrival = arrival;
            std::vector<Action> actions;
            {
                std::lock_guard lock(mutex_);
                const size_t before = engine_.requestCount();
                actions = engine_.feed(std::string_view(&buffer[static_cast<size_t>(i)], 1));
                // One character completes at most one request.
                if (options_.onRequest && engine_.requestCount() > before)
                    handled.push_back(engine_.requests().back());
            }
            for (Action& a : actions) {
                Pending p;
                p.bytes = std::move(a.bytes);
                p.close = a.kind == Action::Kind::CloseLine;
                p.due = arrival + a.delay;
                waiting.push_back(std::move(p));
            }
        }
        changed_.notify_all();
        for (const RequestRecord& r : handled) options_.onRequest(r);
    }
}

}  // namespace corvane::sim
