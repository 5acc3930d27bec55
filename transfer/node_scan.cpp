// Finding the controllers on a line.
#include "transfer/node_scan.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "link/port_error.h"
#include "transfer/scene_transfer.h"

namespace corvane {
namespace {

// A line that stays noisy is given this many more full limits to fall quiet before a node is asked
// anyway; its answer must still pass the reply test.
constexpr int kQuietRounds = 3;
constexpr int64_t kLongAgo = std::numeric_limits<int64_t>::min() / 2;

bool Contains(const std::vector<int>& nodes, int node) {
    return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

}  // namespace

bool NodeScan::quiet() const {
    return now() - openSinceMs_ >= kConfirmLimitMs;
}

NodeScan::Answer NodeScan::ask(int node, int32_t limitMs) {
    link_.setNode(node);
    const int64_t before = link_.charactersHeard();
    Answer a;
    a.onQuietLine = quiet();
    a.sentAtMs = now();
    lastFrameAtMs_ = a.sentAtMs;
    a.answered = link_.probe(ReadBlockCommand(0), kReadReplyLength, limitMs);
    a.afterMs = link_.sinceLastFrameMs();
    const int64_t heard = link_.charactersHeard() - before;
    // Whole: one reply and nothing else, so one controller's.
    a.whole = a.answered && heard == static_cast<int64_t>(link_.RxText.size());
    const std::vector<AttemptResult>& failed = link_.failedAttempts();
    a.heard = heard != 0 || std::any_of(failed.begin(), failed.end(), [](AttemptResult r) {
                  return r != AttemptResult::NoAnswer;
              });
    // Only a whole answer on a quiet line leaves nothing to come: any other request may still be
    // answered, or its answer may have been another's.
    if (!(a.whole && a.onQuietLine)) openSinceMs_ = a.sentAtMs;
    return a;
}

void NodeScan::heardAt(int64_t atMs) {
    // The clock starts each frame a little after it is read, so the window reaches one brief limit
    // further back than the full limit. Nodes asked before the line was last quiet had their
    // chance to answer then.
    const int64_t since = atMs - kConfirmLimitMs - limitMs_;
    for (size_t i = quietFrom_; i < asked_.size(); ++i) {
        const Asked& a = asked_[i];
        if (a.atMs < since || Contains(confirmed_, a.node) || Contains(waiting_, a.node)) continue;
        waiting_.push_back(a.node);
    }
}

void NodeScan::settle() {
    CommControl& port = link_.comCV();
    int rounds = 0;
    for (;;) {
        const int64_t before = link_.charactersHeard();
        link_.drainUntil(link_.sinceLastFrameMs() + 1);
        if (link_.charactersHeard() != before) {
            const int64_t at = now();
            heardAt(at);
            // Something answering later than the full limit: the line is quiet only a full limit
            // after it.
            if (at - openSinceMs_ >= kConfirmLimitMs && rounds++ < kQuietRounds) openSinceMs_ = at;
        }
        const int64_t left = kConfirmLimitMs - (now() - openSinceMs_);
        if (left <= 0) break;
        port.waitForInput(static_cast<int>(std::min<int64_t>(kWaitSliceMs, left)));
    }
}

bool NodeScan::confirm(int node, int32_t* replyMs) {
    for (int round = 0; round <= kQuietRounds; ++round) {
        settle();
        const Answer a = ask(node, kConfirmLimitMs);
        *replyMs = a.afterMs;
        // On a quiet line whatever arrives within the full limit is this node's, spoilt or not.
        if (a.whole) return true;
        if (!a.answered) return false;
        // An answer with characters beside it: something else was on the line; ask again.
    }
    return false;
}

bool NodeScan::confirmOne(int node, const ScanEvents& events, bool stopAtFirst,
                          ScanOutcome& outcome, int32_t* answeredMs) {
    *answeredMs = -1;
    if (events.stopRequested && events.stopRequested()) {
        outcome.kind = ScanOutcome::Kind::Interrupted;
        return false;
    }
    confirmed_.push_back(node);
    if (events.confirming) events.confirming(node);
    int32_t replyMs = 0;
    if (!confirm(node, &replyMs)) return true;
    *answeredMs = replyMs;
    return list(node, events, stopAtFirst, outcome);
}

bool NodeScan::list(int node, const ScanEvents& events, bool stopAtFirst, ScanOutcome& outcome) {
    if (!Contains(confirmed_, node)) confirmed_.push_back(node);
    outcome.found.push_back(node);
    if (events.found) events.found(node);
    return !stopAtFirst;
}

bool NodeScan::confirmWaiting(const ScanEvents& events, bool stopAtFirst, ScanOutcome& outcome) {
    while (!waiting_.empty()) {
        const int node = waiting_.front();
        waiting_.erase(waiting_.begin());
        int32_t answeredMs = -1;
        if (!confirmOne(node, events, stopAtFirst, outcome, &answeredMs)) return false;
    }
    return true;
}

ScanOutcome NodeScan::scan(const std::vector<int>& nodes, int32_t limitMs, const ScanEvents& events,
                           bool stopAtFirst) {
    ScanOutcome outcome;
    const int home = link_.node();
    CommControl& port = link_.comCV();
    limitMs_ = limitMs;
    lastFrameAtMs_ = 0;
    openSinceMs_ = kLongAgo;
    quietFrom_ = 0;
    asked_.clear();
    waiting_.clear();
    confirmed_.clear();
    try {
        OpenLine(port, device_);
        bool going = true;
        for (const int node : nodes) {
            // Told first, so a Cancel pressed while the last node was asked stops before this one.
            if (events.probing) events.probing(node);
            if (events.stopRequested && events.stopRequested()) {
                outcome.kind = ScanOutcome::Kind::Interrupted;
                going = false;
                break;
            }
            if (Contains(confirmed_, node)) continue;
            if (quiet()) quietFrom_ = asked_.size();
            asked_.push_back({node, now()});
            const Answer a = ask(node, limitMs);
            const int64_t heardAtMs = now();
            bool followUp = a.heard;
            if (a.whole && a.onQuietLine) {
                // Nobody else could have answered.
                if (!(going = list(node, events, stopAtFirst, outcome))) break;
                followUp = false;
            } else if (a.whole) {
                // Most likely the node's own reply: when it answers as promptly on a quiet line,
                // it was. Any other controller's reply arrives as well, and is followed up then.
                int32_t answeredMs = -1;
                if (!(going = confirmOne(node, events, stopAtFirst, outcome, &answeredMs))) break;
                if (answeredMs >= 0 && std::abs(answeredMs - a.afterMs) <= limitMs)
                    followUp = false;
            } else if (a.heard && a.onQuietLine) {
                // Spoilt, cut short or late, but only this node can have sent it.
                waiting_.push_back(node);
                followUp = false;
            }
            if (followUp) heardAt(heardAtMs);
            if (!waiting_.empty() && !(going = confirmWaiting(events, stopAtFirst, outcome))) break;
        }
        // A late reply to one of the last nodes is still heard.
        if (going && !nodes.empty()) {
            settle();
            confirmWaiting(events, stopAtFirst, outcome);
        }
        CloseLine(port);
    } catch (const PortError& e) {
        outcome.kind = ScanOutcome::Kind::PortFailed;
        outcome.portDevice = e.device();
        outcome.portReason = e.reason();
        CloseLine(port);
    }
    link_.setNode(home);
    return outcome;
}

}  // namespace corvane
