// The one invariant every cell of the fault matrix is held to: either the whole table arrived
// exactly, or a failure was reported and nothing the technician keeps was lost or half-changed;
// and either way the tool gave up in time.
#pragma once

#include <QByteArray>
#include <chrono>
#include <optional>

#include "document/scene_table.h"
#include "sim/scene_memory.h"
#include "tests/reliability/fault_cell.h"

namespace corvane::reliability {

// The time limit of one attempt, and the slack a loaded machine (two cores, sanitizers) needs
// for opening the port, starting processes and moving the other 63 blocks.
inline constexpr std::chrono::milliseconds kAttemptLimit{1000};
inline constexpr std::chrono::milliseconds kMargin{1500};

// What the simulated controller holds, and what the tool holds (Get) or sends (Send). The two
// differ in every level, and no two blocks of either are alike, so a block lost, moved or half
// copied shows.
SceneTable ControllerShow();
SceneTable ToolShow();

// What was there before the transfer.
struct Before {
    std::optional<QByteArray> held;  // Get: the table, or the output file (nothing: none existed)
    sim::SceneMemory memory{};       // the controller's memory
};

// What the transfer left.
struct Observed {
    bool reportedDone = false;  // the tool said every block was moved
    std::optional<QByteArray> held;
    sim::SceneMemory memory{};
    std::chrono::milliseconds took{0};
};

Before StartingPoint(const Cell& cell, std::optional<QByteArray> held);

// Records a failure for every way the outcome breaks the invariant.
void ExpectWholeOrNothing(const Cell& cell, const Before& before, const Observed& after);

}  // namespace corvane::reliability
