// The cells of the fault matrix.
#include "tests/reliability/fault_cell.h"

#include <array>

namespace corvane::reliability {
namespace {

constexpr std::array kLineTroubles{Trouble::Drop,  Trouble::BadSum, Trouble::Short, Trouble::Late,
                                   Trouble::Extra, Trouble::Noise,  Trouble::Close};
constexpr std::array kOpenTroubles{Trouble::Missing, Trouble::Busy, Trouble::NoPermission};
constexpr std::array kBlocks{kFirstBlock, kMiddleBlock, kLastBlock};

// Each trouble's name in the cell names, the simulator's fault for it, and for a port that
// cannot be opened the words the technician's message must hold.
struct TroubleInfo {
    const char* name;
    sim::FaultKind kind;
    const char* openReason;
};
constexpr TroubleInfo kInfo[] = {
    {"Drop", sim::FaultKind::Drop, ""},
    {"BadSum", sim::FaultKind::BadSum, ""},
    {"Short", sim::FaultKind::Short, ""},
    {"Late", sim::FaultKind::Late, ""},
    {"Extra", sim::FaultKind::Extra, ""},
    {"Noise", sim::FaultKind::Noise, ""},
    {"Close", sim::FaultKind::Close, ""},
    {"MissingDevice", sim::FaultKind::Drop, "no such device"},
    {"BusyDevice", sim::FaultKind::Drop, "in use by another program"},
    {"NoPermission", sim::FaultKind::Drop, "permission denied"},
};

const TroubleInfo& Info(Trouble t) {
    return kInfo[static_cast<int>(t)];
}

// Troubles that make an attempt run out of its time limit.
bool CostsTime(Trouble t) {
    return t == Trouble::Drop || t == Trouble::Short || t == Trouble::Late;
}

}  // namespace

std::optional<sim::Fault> Cell::fault() const {
    if (isOpenFailure()) return std::nullopt;
    return sim::Fault{block, Info(trouble).kind, repeat == Repeat::Once ? 1 : sim::kAlways,
                      way == Way::Get ? sim::Direction::Read : sim::Direction::Write,
                      sim::kAnyNode};
}

bool Cell::mustFail() const {
    if (isOpenFailure() || trouble == Trouble::Close) return true;
    return repeat == Repeat::Always && trouble != Trouble::Late && trouble != Trouble::Extra;
}

bool Cell::mayFail() const {
    return mustFail() || repeat == Repeat::Always;
}

const char* OpenFailureReason(Trouble trouble) {
    return Info(trouble).openReason;
}

std::string CellName(const Cell& cell) {
    std::string name = cell.path == Path::Transfer ? "Transfer_" : "Cli_";
    name += cell.way == Way::Get ? "Get_" : "Send_";
    name += Info(cell.trouble).name;
    if (cell.isOpenFailure()) return name;
    name += cell.block < 10 ? "_Block0" : "_Block";
    name += std::to_string(cell.block);
    name += cell.repeat == Repeat::Once ? "_Once" : "_Always";
    return name;
}

std::vector<Cell> MatrixCells() {
    std::vector<Cell> cells;
    for (Path path : {Path::Transfer, Path::Cli}) {
        for (Way way : {Way::Get, Way::Send}) {
            for (size_t k = 0; k < kLineTroubles.size(); ++k) {
                const Trouble trouble = kLineTroubles[k];
                const size_t turn = k + (way == Way::Send ? 1 : 0) + (path == Path::Cli ? 1 : 0);
                const int turnBlock = kBlocks[turn % kBlocks.size()];
                // A close always ends the line: there is no "once" that the retries could recover.
                // A recovered time-out costs three limits; corvane-scenes runs the same transfer
                // code, so through it such a trouble is tried at one block, in turn.
                if (trouble != Trouble::Close) {
                    for (int block : kBlocks)
                        if (path == Path::Transfer || !CostsTime(trouble) || block == turnBlock)
                            cells.push_back({path, way, trouble, block, Repeat::Once});
                }
                cells.push_back({path, way, trouble, turnBlock, Repeat::Always});
            }
            for (Trouble trouble : kOpenTroubles)
                cells.push_back({path, way, trouble, -1, Repeat::Always});
        }
    }
    return cells;
}

}  // namespace corvane::reliability
