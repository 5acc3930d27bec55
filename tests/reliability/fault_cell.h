// The cells of the fault matrix: which trouble, at which block, how often, which way, and whether
// through the transfer layer or through corvane-scenes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/fault.h"

namespace corvane::reliability {

enum class Path { Transfer, Cli };
enum class Way { Get, Send };

// The line faults the simulator commits, then the ports that cannot be opened at all.
enum class Trouble { Drop, BadSum, Short, Late, Extra, Noise, Close, Missing, Busy, NoPermission };
enum class Repeat { Once, Always };

inline constexpr int kFirstBlock = 0;
inline constexpr int kMiddleBlock = 31;
inline constexpr int kLastBlock = 63;

struct Cell {
    Path path = Path::Transfer;
    Way way = Way::Get;
    Trouble trouble = Trouble::Drop;
    int block = -1;  // the block the fault is committed at, as on the wire; -1 for open failures
    Repeat repeat = Repeat::Once;

    bool isOpenFailure() const { return block < 0; }
    // The simulator's fault for this cell; nothing for open failures.
    std::optional<sim::Fault> fault() const;
    // Whether the tool must report a failure. Late and extra replies carry the right data, so an
    // "always" one may be accepted (a late reply by the next attempt, an acknowledgement with
    // characters after "{--}" at once); then the table must have arrived exactly.
    bool mustFail() const;
    bool mayFail() const;
};

// Words the technician's message must hold for a port that cannot be opened ("" for the rest).
const char* OpenFailureReason(Trouble trouble);

// "Transfer_Get_Drop_Block31_Once", "Cli_Send_NoPermission".
std::string CellName(const Cell& cell);

// Every trouble "once" at the first, a middle and the last block (the retries recover), every
// trouble "always" at one block, rotating through the three positions so each way of each path
// meets every position, and the open failures; all of it for both ways and both paths, except
// that through corvane-scenes a time-out "once" is tried at the "always" cell's block only.
std::vector<Cell> MatrixCells();

// Runs the cell and checks it, recording failures with gtest: through SceneTransfer on QSerialPort
// against a simulated controller on a pseudo-terminal in this process, or through corvane-scenes
// get and send against a corvane-sim process.
void CheckTransferCell(const Cell& cell);
void CheckCliCell(const Cell& cell);

}  // namespace corvane::reliability
