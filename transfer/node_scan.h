// Finding the controllers on a line. Each node is asked once, briefly, for block 0 (the request a
// Get sends first; a read changes nothing on a controller). A reply carries no node number, so a
// slow controller's late reply can arrive while the next node is asked: a node counts as found
// only when a second request with a transfer's full time limit is answered too, and whenever a
// node answers, the node asked just before it is confirmed the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/controller_link.h"

namespace corvane {

inline constexpr int32_t kProbeLimitMs = 200;     // the first, brief request to each node
inline constexpr int32_t kConfirmLimitMs = 1000;  // a transfer's time limit per attempt

struct ScanEvents {
    // Node n (1 to 254) is about to be asked.
    std::function<void(int node)> probing;
    // Asked before each request, after probing: true ends the search there.
    std::function<bool()> stopRequested;
};

struct ScanOutcome {
    enum class Kind { Done, PortFailed, Interrupted };
    Kind kind = Kind::Done;
    std::vector<int> found;  // confirmed nodes, in the order they were asked
    std::string portDevice;
    std::string portReason;

    bool ok() const { return kind == Kind::Done; }
};

class NodeScan {
  public:
    // Asks through link on the port at device, which it opens for the search and closes after.
    NodeScan(ControllerLink& link, std::string device) : link_(link), device_(std::move(device)) {}

    // Asks each of nodes in turn, each for at most limitMs; with stopAtFirst, ends at the first
    // node confirmed. The link is left on the node it was on.
    ScanOutcome scan(const std::vector<int>& nodes, int32_t limitMs, const ScanEvents& events,
                     bool stopAtFirst);

  private:
    bool confirm(int node, int32_t limitMs);

    ControllerLink& link_;
    std::string device_;
    bool lateMayFollow_ = false;  // a request went unanswered since the line was last drained
};

}  // namespace corvane
