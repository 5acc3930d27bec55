// One cell of the fault matrix through the transfer layer: SceneTransfer on QSerialPort against a
// simulated controller on a pseudo-terminal in this process.
#pragma once

#include "tests/reliability/fault_cell.h"

namespace corvane::reliability {

// Runs the cell and checks it, recording failures with gtest.
void CheckTransferCell(const Cell& cell);

}  // namespace corvane::reliability
