// The one command transaction through which the tool talks to a controller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/comm_control.h"
#include "link/stopwatch.h"

namespace corvane {

inline constexpr int kAttempts = 3;
inline constexpr int32_t kStopwatchUnitsPerTimeout = 250;
// The longest single block on the port while a reply is awaited, so a waiting transaction costs
// next to no processor time and still notices a reply promptly.
inline constexpr int32_t kWaitSliceMs = 10;
// The same for a search's single attempts, which a stop request may wait out.
inline constexpr int32_t kProbeSliceMs = 100;

// What an attempt that failed met, as a technician would look for its cause.
enum class AttemptResult {
    NoAnswer,    // nothing arrived within the time limit
    TooShort,    // part of a reply arrived within the time limit
    TooLate,     // the whole reply arrived only as the time limit passed
    WrongCheck,  // a reply arrived whose check digits did not match it
};

// Holds the run's last reply text and what a transaction needs: the serial control, the
// stopwatch and the node addressed (1 to 254; 0, framed "00", when none is chosen).
class ControllerLink {
  public:
    ControllerLink(CommControl& comCV, Stopwatch& stopwatch, int node)
        : comCV_(comCV), stopwatch_(stopwatch), node_(node) {}

    int node() const { return node_; }
    // Turns to another controller on the same line.
    void setNode(int node) { node_ = node; }

    // Frames command for the node, sends it, waits up to timeout * 250 ms for
    // expectedLength characters, tests the reply; up to three attempts with the same frame.
    // True when a reply was accepted; RxText then holds it. After false RxText holds the last text
    // read by any attempt, or is as it was if none got that far. Port failures throw PortError;
    // a command too long for the code array throws std::length_error before anything is sent.
    // No window event is processed while it runs.
    bool SendCommand(const std::string& command, int16_t expectedLength, int32_t timeout);

    // One attempt of command with a time limit of limitMs, as a search for controllers asks each
    // node; otherwise as SendCommand.
    bool probe(const std::string& command, int16_t expectedLength, int32_t limitMs);

    std::string RxText;  // last reply read by any attempt

    // True when an attempt of the last SendCommand ran out of time: its reply may still be on the
    // way, and a reply carries nothing that tells which request it answers.
    bool replyMayFollow() const { return replyMayFollow_; }
    // Discards whatever arrives until two time limits (timeout * 250 each) have passed since the
    // last frame was written, so that a reply that missed its limit is not taken for the next
    // command's. Port failures throw PortError.
    void drainLateReplies(int32_t timeout);
    // The same until sinceLastFrameMs have passed since the last frame was written.
    void drainUntil(int64_t sinceLastFrameMs);

    // Asked while a reply is awaited: true gives the command up at once (SendCommand returns false,
    // and stoppedEarly() says why). Empty: never.
    void setStopCheck(std::function<bool()> stopRequested) {
        stopRequested_ = std::move(stopRequested);
    }
    bool stoppedEarly() const { return stoppedEarly_; }

    // What each failed attempt of the last SendCommand met, in order.
    const std::vector<AttemptResult>& failedAttempts() const { return failedAttempts_; }

    // Request frames written to the line by every SendCommand so far.
    int framesWritten() const { return framesWritten_; }
    // Characters taken off the line so far, replies and discarded ones alike: a search tells by it
    // that something arrived, whatever became of it.
    int64_t charactersHeard() const { return charactersHeard_; }
    // Milliseconds since the last frame was written.
    int32_t sinceLastFrameMs() const { return stopwatch_.reading(); }

    CommControl& comCV() { return comCV_; }

  private:
    bool transact(const std::string& command, int16_t expectedLength, int32_t limit, int attempts,
                  int32_t sliceMs);
    void drain();
    // Input(), counted.
    std::string take();
    // Polls until expectedLength characters wait or the stopwatch reaches limit, blocking on the
    // port between polls.
    void awaitReply(int16_t expectedLength, int32_t limit, int32_t sliceMs);

    CommControl& comCV_;
    Stopwatch& stopwatch_;
    int node_;
    std::function<bool()> stopRequested_;
    bool replyMayFollow_ = false;
    bool stoppedEarly_ = false;
    int framesWritten_ = 0;
    int64_t charactersHeard_ = 0;
    std::vector<AttemptResult> failedAttempts_;
};

}  // namespace corvane
