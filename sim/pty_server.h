// A simulated controller on the far end of a pseudo-terminal, served by a background thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/controller_engine.h"

namespace corvane::sim {

// The line as a real cable runs it: 38400 baud, 10 bits per character (start, 8 data, stop).
inline constexpr int kLineBaud = 38400;
inline constexpr int kBitsPerCharacter = 10;
inline constexpr std::chrono::nanoseconds kCharacterTime{1'000'000'000LL * kBitsPerCharacter /
                                                         kLineBaud};

struct PtyServerOptions {
    // Pace both directions at the line rate: a reply starts only once the request's characters
    // would have arrived over the cable, and goes out one character time after another.
    bool paced = false;
    // Told of every request frame as it is handled, on the server's thread.
    std::function<void(const RequestRecord&)> onRequest{};
};

// Creates the pseudo-terminal on construction and serves it until destroyed. The device at
// devicePath() is raw (no echo, no line editing) and may be opened and closed by a client any
// number of times: the server holds the device open itself, so the line stays up in between.
// Each reply keeps its own time: a late one holds back no reply to a later request (the line
// still carries one reply at a time).
// Every accessor may be called from any thread.
class PtyServer {
  public:
    // Throws std::system_error when no pseudo-terminal can be had.
    explicit PtyServer(ControllerEngine engine, PtyServerOptions options = {});
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& devicePath() const { return devicePath_; }

    // The first node's memory, or the named node's.
    SceneMemory memory() const;
    SceneMemory memory(int16_t node) const;
    void setMemory(const SceneMemory& memory);
    void addFault(const Fault& fault);
    void clearFaults();
    // The latest requests (ControllerEngine keeps a bounded number), oldest first.
    std::vector<RequestRecord> requests() const;

    // Waits until at least count request frames have arrived in all; false when timeout passed
    // first.
    bool waitForRequests(size_t count, std::chrono::milliseconds timeout) const;

    // The line has been closed by a close fault (the client then sees a hang-up).
    bool lineClosed() const;

    // Ends serving; pending replies are dropped. Called by the destructor.
    void stop();

  private:
    struct Pending;
    void run();

    PtyServerOptions options_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    ControllerEngine engine_;  // guarded by mutex_
    bool lineClosed_ = false;  // guarded by mutex_
    int master_ = -1;
    int slaveHold_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string devicePath_;
    std::thread thread_;
};

}  // namespace corvane::sim
