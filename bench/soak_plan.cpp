// The transfers of a soak run, drawn from a seed.
#include "bench/soak_plan.h"

#include <array>
#include <map>
#include <set>
#include <utility>

namespace corvane::soak {
namespace {

// Relative weights; drop, short and late, which wait out time limits, make up 10 in 100.
constexpr std::array<std::pair<sim::FaultKind, int>, 7> kKindWeights{{
    {sim::FaultKind::BadSum, 25},
    {sim::FaultKind::Extra, 22},
    {sim::FaultKind::Noise, 25},
    {sim::FaultKind::Close, 18},
    {sim::FaultKind::Drop, 4},
    {sim::FaultKind::Short, 3},
    {sim::FaultKind::Late, 3},
}};

// Kinds whose every commission fails the attempt it hits (an extra "\r\n" spoils a read reply's
// sum but not an acknowledgement, which is accepted on its "{--}").
bool FailsTheAttempt(sim::FaultKind kind, Way way) {
    switch (kind) {
        case sim::FaultKind::Drop:
        case sim::FaultKind::BadSum:
        case sim::FaultKind::Short:
        case sim::FaultKind::Noise:
            return true;
        case sim::FaultKind::Extra:
            return way == Way::Get;
        default:
            return false;
    }
}

// Failed attempts at each faulted block, counting "always" as more than any count.
std::map<int, int> AttemptsSpoiled(const Trial& t, bool onlyCertain) {
    std::map<int, int> spoiled;
    for (const sim::Fault& f : t.faults) {
        if (onlyCertain && !FailsTheAttempt(f.kind, t.way)) continue;
        spoiled[f.block] += f.count == sim::kAlways ? 1000 : f.count;
    }
    return spoiled;
}

}  // namespace

bool Trial::mustFail() const {
    for (const sim::Fault& f : faults)
        if (f.kind == sim::FaultKind::Close) return true;
    // Only when every fault at the block fails its attempt: a late reply among them may be taken
    // by the next attempt.
    std::map<int, int> all = AttemptsSpoiled(*this, false);
    for (const auto& [block, spoiled] : AttemptsSpoiled(*this, true))
        if (spoiled >= 3 && all[block] == spoiled) return true;
    return false;
}

bool Trial::mustSucceed() const {
    for (const sim::Fault& f : faults)
        if (f.kind == sim::FaultKind::Close) return false;
    for (const auto& [block, spoiled] : AttemptsSpoiled(*this, false))
        if (spoiled > 2) return false;
    return true;
}

int Trial::faultedBlocks() const {
    std::set<int> blocks;
    for (const sim::Fault& f : faults) blocks.insert(f.block);
    return static_cast<int>(blocks.size());
}

std::string Describe(const Trial& trial) {
    std::string text = trial.way == Way::Get ? "get" : "send";
    for (const sim::Fault& f : trial.faults) {
        text += " " + std::to_string(f.block) + ":" + std::string(sim::FaultKindName(f.kind)) + ":";
        text += f.count == sim::kAlways ? std::string("always") : std::to_string(f.count);
    }
    return text;
}

int TrialDraw::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

sim::FaultKind TrialDraw::kind() {
    int total = 0;
    for (const auto& [k, weight] : kKindWeights) total += weight;
    int pick = uniform(0, total - 1);
    for (const auto& [k, weight] : kKindWeights) {
        if (pick < weight) return k;
        pick -= weight;
    }
    return sim::FaultKind::BadSum;
}

int TrialDraw::block() {
    const int roll = uniform(0, 9);
    if (roll == 0) return 0;
    if (roll == 1) return sim::kBlockCount - 1;
    return uniform(0, sim::kBlockCount - 1);
}

Trial TrialDraw::next() {
    Trial t;
    t.way = uniform(0, 1) == 0 ? Way::Get : Way::Send;
    const int faults = uniform(0, 9) < 7 ? 1 : 2;
    for (int i = 0; i < faults; ++i) {
        sim::Fault f;
        f.block = block();
        f.kind = kind();
        const int count = uniform(1, 4);
        f.count = count == 4 ? sim::kAlways : count;
        f.direction = t.way == Way::Get ? sim::Direction::Read : sim::Direction::Write;
        t.faults.push_back(f);
    }
    for (sim::Block& b : t.controller)
        for (uint8_t& level : b) level = static_cast<uint8_t>(uniform(0, 255));
    for (int16_t& level : t.tool.storage()) level = static_cast<int16_t>(uniform(0, 255));
    return t;
}

}  // namespace corvane::soak
