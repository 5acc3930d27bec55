// The one command transaction through which the tool talks to a controller.
#include "link/controller_link.h"

#include <algorithm>
#include <limits>

#include "link/frame.h"

namespace corvane {
namespace {

// timeout * 250 as the signed 32-bit limit; a time-out too large for it saturates instead of
// wrapping into a negative limit that would fail every attempt at once.
int32_t TimeLimit(int32_t timeout) {
    const int64_t limit = static_cast<int64_t>(timeout) * kStopwatchUnitsPerTimeout;
    return static_cast<int32_t>(std::clamp<int64_t>(limit, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::string ControllerLink::take() {
    std::string text = comCV_.Input();
    charactersHeard_ += static_cast<int64_t>(text.size());
    return text;
}

void ControllerLink::drain() {
    // Four reads in a row: a reply still trickling in from an earlier attempt is cleared too.
    for (int i = 0; i < 4; ++i) take();
}

void ControllerLink::awaitReply(int16_t expectedLength, int32_t limit, int32_t sliceMs) {
    while (comCV_.InBufferCount() < expectedLength) {
        const int32_t reading = stopwatch_.reading();
        if (reading >= limit) return;
        if (stopRequested_ && stopRequested_()) {
            stoppedEarly_ = true;
            return;
        }
        comCV_.waitForInput(static_cast<int>(std::min(sliceMs, limit - reading)));
    }
}

void ControllerLink::drainLateReplies(int32_t timeout) {
    drainUntil(2 * static_cast<int64_t>(TimeLimit(timeout)));
}

void ControllerLink::drainUntil(int64_t sinceLastFrameMs) {
    for (;;) {
        take();
        const int32_t reading = stopwatch_.reading();
        if (reading >= sinceLastFrameMs) break;
        comCV_.waitForInput(
            static_cast<int>(std::min<int64_t>(kWaitSliceMs, sinceLastFrameMs - reading)));
    }
    replyMayFollow_ = false;
}

bool ControllerLink::SendCommand(const std::string& command, int16_t expectedLength,
                                 int32_t timeout) {
    return transact(command, expectedLength, TimeLimit(timeout), kAttempts, kWaitSliceMs);
}

bool ControllerLink::probe(const std::string& command, int16_t expectedLength, int32_t limitMs) {
    // One wait for a brief probe: each wake-up of a loaded machine costs more than its overshoot.
    return transact(command, expectedLength, limitMs, 1,
                    std::max(kWaitSliceMs, std::min(limitMs, kProbeSliceMs)));
}

bool ControllerLink::transact(const std::string& command, int16_t expectedLength, int32_t limit,
                              int attempts, int32_t sliceMs) {
    drain();
    const std::string frame = BuildRequestFrame(static_cast<int16_t>(node_), command);
    CodeArray codes{};
    replyMayFollow_ = false;
    stoppedEarly_ = false;
    failedAttempts_.clear();

    for (int attempt = 0; attempt < attempts; ++attempt) {
        drain();
        comCV_.Output(frame);
        ++framesWritten_;
        stopwatch_.restart();
        awaitReply(expectedLength, limit, sliceMs);
        if (stoppedEarly_) {
            replyMayFollow_ = true;
            return false;
        }
        // Read again: a reply that completed only as the limit passed is too late, however many
        // characters it brought; the next attempt's drain clears them.
        if (stopwatch_.reading() >= limit) {
            replyMayFollow_ = true;
            const int16_t arrived = comCV_.InBufferCount();
            failedAttempts_.push_back(arrived == 0               ? AttemptResult::NoAnswer
                                      : arrived < expectedLength ? AttemptResult::TooShort
                                                                 : AttemptResult::TooLate);
            continue;
        }
        RxText = take();
        if (ReplyAccepted(RxText, codes)) return true;
        failedAttempts_.push_back(AttemptResult::WrongCheck);
    }
    return false;
}

}  // namespace corvane
