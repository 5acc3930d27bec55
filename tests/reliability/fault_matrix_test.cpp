// Get and Send against the simulated controller for every fault it can commit, at the first, a
// middle and the last block, once and always, through the transfer layer and through
// corvane-scenes; and for the ports that cannot be opened. One invariant for every cell.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/reliability/fault_cell.h"

namespace corvane::reliability {

void PrintTo(const Cell& cell, std::ostream* os) {
    *os << CellName(cell);
}

namespace {

class FaultMatrix : public testing::TestWithParam<Cell> {};

TEST_P(FaultMatrix, WholeTableOrNothingLost) {
    const Cell& cell = GetParam();
    if (cell.path == Path::Transfer) {
        CheckTransferCell(cell);
    } else {
        CheckCliCell(cell);
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, FaultMatrix, testing::ValuesIn(MatrixCells()),
                         [](const testing::TestParamInfo<Cell>& info) {
                             return CellName(info.param);
                         });

}  // namespace
}  // namespace corvane::reliability
