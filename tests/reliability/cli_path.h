// One cell of the fault matrix through corvane-scenes get and send against a corvane-sim process.
#pragma once

#include "tests/reliability/fault_cell.h"

namespace corvane::reliability {

// Runs the cell and checks it, recording failures with gtest.
void CheckCliCell(const Cell& cell);

}  // namespace corvane::reliability
