// The cells of the fault matrix.
#include "tests/reliability/fault_cell.h"

#include <array>

namespace corvane::reliability {
namespace {

constexpr std::array kLineTroubles{Trouble::Drop,  Trouble::BadSum, Trouble::Short, Trouble::Late,
                                   Trouble::Extra, Trouble::Noise,  Trouble::Close};
constexpr std::array kOpenTroubles{Trouble::Missing, Trouble::Busy, Trouble::NoPermission};
constexpr std::array kBlocks{kFirstBlock, kMiddleBlock, kLastBlock};
constexpr std::array kPaths{Path::Transfer, Path::Cli};
constexpr std::array kWays{Way::Get, Way::Send};

const char* TroubleName(Trouble t) {
    switch (t) {
        case Trouble::Drop:
            return "Drop";
        case Trouble::BadSum:
            return "BadSum";
        case Trouble::Short:
            return "Short";
        case Trouble::Late:
            return "Late";
        case Trouble::Extra:
            return "Extra";
        case Trouble::Noise:
            return "Noise";
        case Trouble::Close:
            return "Close";
        case Trouble::Missing:
            return "MissingDevice";
        case Trouble::Busy:
            return "BusyDevice";
        case Trouble::NoPermission:
            return "NoPermission";
    }
    return "Unknown";
}

sim::FaultKind KindOf(Trouble t) {
    switch (t) {
        case Trouble::BadSum:
            return sim::FaultKind::BadSum;
        case Trouble::Short:
            return sim::FaultKind::Short;
        case Trouble::Late:
            return sim::FaultKind::Late;
        case Trouble::Extra:
            return sim::FaultKind::Extra;
        case Trouble::Noise:
            return sim::FaultKind::Noise;
        case Trouble::Close:
            return sim::FaultKind::Close;
        default:
            return sim::FaultKind::Drop;
    }
}

// Troubles that make an attempt run out of its time limit.
bool CostsTime(Trouble t) {
    return t == Trouble::Drop || t == Trouble::Short || t == Trouble::Late;
}

}  // namespace

std::optional<sim::Fault> Cell::fault() const {
    if (isOpenFailure()) return std::nullopt;
    sim::Fault f;
    f.block = block;
    f.kind = KindOf(trouble);
    f.count = repeat == Repeat::Once ? 1 : sim::kAlways;
    f.direction = way == Way::Get ? sim::Direction::Read : sim::Direction::Write;
    return f;
}

bool Cell::mustFail() const {
    if (isOpenFailure() || trouble == Trouble::Close) return true;
    return repeat == Repeat::Always && trouble != Trouble::Late && trouble != Trouble::Extra;
}

bool Cell::mayFail() const {
    return mustFail() || repeat == Repeat::Always;
}

const char* OpenFailureReason(Trouble trouble) {
    switch (trouble) {
        case Trouble::Missing:
            return "no such device";
        case Trouble::Busy:
            return "in use by another program";
        case Trouble::NoPermission:
            return "permission denied";
        default:
            return "";
    }
}

std::string CellName(const Cell& cell) {
    std::string name = cell.path == Path::Transfer ? "Transfer_" : "Cli_";
    name += cell.way == Way::Get ? "Get_" : "Send_";
    name += TroubleName(cell.trouble);
    if (cell.isOpenFailure()) return name;
    name += cell.block < 10 ? "_Block0" : "_Block";
    name += std::to_string(cell.block);
    name += cell.repeat == Repeat::Once ? "_Once" : "_Always";
    return name;
}

std::vector<Cell> MatrixCells() {
    std::vector<Cell> cells;
    for (Path path : kPaths) {
        for (Way way : kWays) {
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
