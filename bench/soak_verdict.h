// Judges one soak transfer by the invariant: either the whole table arrived exactly, or a clear
// error was reported and nothing was lost or half-changed; and the tool gave up in time.
#pragma once

#include <chrono>
#include <string>

#include "bench/soak_plan.h"
#include "transfer/scene_transfer.h"

namespace corvane::soak {

inline constexpr std::chrono::milliseconds kAttemptLimit{1000};
inline constexpr std::chrono::milliseconds kMargin{1500};

// What a transfer left behind.
struct Ending {
    TransferOutcome outcome;
    SceneTable table;           // the tool's table afterwards
    sim::SceneMemory memory{};  // the controller's memory afterwards
    std::string device;         // the device the transfer used
    bool portLeftOpen = false;
    std::chrono::milliseconds took{0};
};

struct Verdict {
    enum class Kind { Done, ReportedFailure, Violation };
    Kind kind = Kind::Done;
    bool unexpected =
        false;        // the invariant held, but the outcome is not the one the faults call for
    std::string why;  // for a violation or an unexpected outcome
};

Verdict Judge(const Trial& trial, const Ending& ending);

}  // namespace corvane::soak
