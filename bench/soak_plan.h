// The transfers of a soak run, drawn from a seed: which way, the two shows, and the faults the
// simulated controller commits.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/scene_table.h"
#include "sim/fault.h"
#include "sim/scene_memory.h"

namespace corvane::soak {

enum class Way { Get, Send };

struct Trial {
    Way way = Way::Get;
    std::vector<sim::Fault> faults;  // in the transfer's direction
    sim::SceneMemory controller{};   // what the controller holds before
    SceneTable tool;                 // what the tool holds (Get) or sends (Send) before

    // A close, or a block that every attempt fails on: the transfer cannot succeed.
    bool mustFail() const;
    // No close and at most two failed attempts at any block: the retries must carry it through.
    bool mustSucceed() const;
    // Blocks that one or more faults fall on; each may cost three time limits.
    int faultedBlocks() const;
};

// "get 5:drop:2 17:noise:always"
std::string Describe(const Trial& trial);

// Draws trials: one fault (seven in ten) or two, at any block with the first and the last more
// often, each 1 to 3 times or always. Faults that cost waiting (drop, short, late) are drawn one
// time in ten, so a thousand transfers take minutes, not hours.
class TrialDraw {
  public:
    explicit TrialDraw(uint64_t seed) : random_(seed) {}
    Trial next();

  private:
    int uniform(int low, int high);
    sim::FaultKind kind();
    int block();

    std::mt19937_64 random_;
};

}  // namespace corvane::soak
