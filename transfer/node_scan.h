// Finding the controllers on a line. Each node is asked once, briefly, for block 0 (the request a
// Get sends first; a read changes nothing on a controller). A reply carries no node number, so
// whatever arrives during the brief requests may answer any node asked within the full limit
// before it. A node is listed only when it answers a request with the full limit sent on a quiet
// line: every earlier request went out at least the full limit before, and nothing has arrived
// since. Whenever something arrives, every node asked within the full limit before it is asked
// again that way, one at a time; after the last brief request the line is heard out for the full
// limit, so that a late reply to one of the last nodes is not lost either. One reply, whole, to
// the brief request of a node that answers as promptly on a quiet line is that node's own: any
// other controller's reply arrives as well, and is followed up when it does. A brief request sent
// on a quiet line and answered is a confirmation in itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/controller_link.h"

namespace corvane {

inline constexpr int32_t kProbeLimitMs = 50;      // the first, brief request to each node
inline constexpr int32_t kConfirmLimitMs = 1000;  // a transfer's time limit per attempt

struct ScanEvents {
    // Node n (1 to 254) is about to be asked briefly.
    std::function<void(int node)> probing;
    // Node n is about to be asked again with the full limit, on a quiet line.
    std::function<void(int node)> confirming;
    // Node n answered on a quiet line: it is listed.
    std::function<void(int node)> found;
    // Asked before each request: true ends the search there.
    std::function<bool()> stopRequested;
};

struct ScanOutcome {
    enum class Kind { Done, PortFailed, Interrupted };
    Kind kind = Kind::Done;
    std::vector<int> found;  // confirmed nodes, in the order they were confirmed
    std::string portDevice;
    std::string portReason;

    bool ok() const { return kind == Kind::Done; }
};

class NodeScan {
  public:
    // Asks through link on the port at device, which it opens for the search and closes after.
    NodeScan(ControllerLink& link, std::string device) : link_(link), device_(std::move(device)) {}

    // Asks each of nodes in turn, each briefly for at most limitMs; with stopAtFirst, ends at the
    // first node confirmed. The link is left on the node it was on.
    ScanOutcome scan(const std::vector<int>& nodes, int32_t limitMs, const ScanEvents& events,
                     bool stopAtFirst);

  private:
    struct Asked {
        int node;
        int64_t atMs;  // on the search's own clock
    };
    // What one request met.
    struct Answer {
        bool onQuietLine = false;
        bool answered = false;  // a reply passed the reply test
        bool whole = false;     // exactly one reply that passed the reply test, nothing beside it
        bool heard = false;     // any character arrived, answer or not
        int64_t sentAtMs = 0;
        int32_t afterMs = 0;  // how long after the request it ended
    };

    int64_t now() const { return lastFrameAtMs_ + link_.sinceLastFrameMs(); }
    // Every request that may still be answered went out at least the full limit before.
    bool quiet() const;
    // One request of block 0 to node with limitMs.
    Answer ask(int node, int32_t limitMs);
    // Something arrived at atMs: every node asked briefly since the full limit before it is to be
    // asked again.
    void heardAt(int64_t atMs);
    // Waits for a quiet line, following up whatever arrives meanwhile.
    void settle();
    // Asks node with the full limit on a quiet line; true when it answered there, after *replyMs.
    bool confirm(int node, int32_t* replyMs);
    // Asks node again (once in a search), listing it when it answers; false when the search is
    // to end (stopped, or the first was found with stopAtFirst). *answeredMs: -1 or how soon.
    bool confirmOne(int node, const ScanEvents& events, bool stopAtFirst, ScanOutcome& outcome,
                    int32_t* answeredMs);
    // Lists node as found; false when the search is to end there.
    bool list(int node, const ScanEvents& events, bool stopAtFirst, ScanOutcome& outcome);
    // Confirms every node waiting to be asked again; false when the search is to end.
    bool confirmWaiting(const ScanEvents& events, bool stopAtFirst, ScanOutcome& outcome);

    ControllerLink& link_;
    std::string device_;
    int32_t limitMs_ = kProbeLimitMs;
    int64_t lastFrameAtMs_ = 0;
    int64_t openSinceMs_ = 0;     // the last request that may still be answered went out then
    size_t quietFrom_ = 0;        // asked_ from here on went out since the line was last quiet
    std::vector<Asked> asked_;    // every brief request, oldest first
    std::vector<int> waiting_;    // nodes to be asked again, in the order they were asked first
    std::vector<int> confirmed_;  // nodes already asked again, whatever they answered
};

}  // namespace corvane
