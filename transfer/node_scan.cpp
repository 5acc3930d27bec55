// Finding the controllers on a line.
#include "transfer/node_scan.h"

#include <algorithm>

#include "link/port_error.h"
#include "transfer/scene_transfer.h"

namespace corvane {
namespace {

// A quiet line that stays noisy is given this many more full limits before a node is asked
// anyway; its answer must still pass the reply test.
constexpr int kQuietRounds = 3;

bool Contains(const std::vector<int>& nodes, int node) {
    return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

}  // namespace

bool NodeScan::ask(int node, int32_t limitMs, bool* heardSomething) {
    link_.setNode(node);
    const int64_t before = link_.charactersHeard();
    lastFrameAtMs_ = now();
    const bool answered = link_.probe(ReadBlockCommand(0), kReadReplyLength, limitMs);
    const std::vector<AttemptResult>& failed = link_.failedAttempts();
    *heardSomething = answered || link_.charactersHeard() != before ||
                      std::any_of(failed.begin(), failed.end(),
                                  [](AttemptResult r) { return r != AttemptResult::NoAnswer; });
    return answered;
}

void NodeScan::heardAt(int64_t atMs) {
    // The clock starts each frame a little after it is read, so the window reaches one brief limit
    // further back than the full limit.
    const int64_t since = atMs - kConfirmLimitMs - limitMs_;
    for (const Asked& a : asked_) {
        if (a.atMs < since || Contains(confirmed_, a.node) || Contains(waiting_, a.node)) continue;
        waiting_.push_back(a.node);
    }
}

void NodeScan::settle() {
    CommControl& port = link_.comCV();
    bool heard = false;
    for (;;) {
        const int64_t before = link_.charactersHeard();
        link_.drainUntil(link_.sinceLastFrameMs() + 1);
        if (link_.charactersHeard() != before && !heard) {
            heard = true;
            heardAt(now());
        }
        const int32_t since = link_.sinceLastFrameMs();
        if (since >= kConfirmLimitMs) break;
        port.waitForInput(std::min(kWaitSliceMs, kConfirmLimitMs - since));
    }
}

bool NodeScan::confirm(int node, int32_t* replyMs) {
    for (int round = 0; round <= kQuietRounds; ++round) {
        settle();
        bool heard = false;
        const int64_t before = link_.charactersHeard();
        const bool answered = ask(node, kConfirmLimitMs, &heard);
        *replyMs = link_.sinceLastFrameMs();
        if (!answered) {
            // A reply this late, or spoilt, may belong to a request older than the full limit.
            if (heard) heardAt(now());
            return false;
        }
        // Characters beyond the reply arrived just before the request: the line was not quiet.
        const int64_t extra =
            link_.charactersHeard() - before - static_cast<int64_t>(link_.RxText.size());
        if (extra == 0 || round == kQuietRounds) return true;
        heardAt(now());
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
            bool heard = false;
            asked_.push_back({node, now()});
            const int64_t before = link_.charactersHeard();
            const bool answered = ask(node, limitMs, &heard);
            const int64_t heardAtMs = now();
            const bool whole = answered && link_.charactersHeard() - before ==
                                               static_cast<int64_t>(link_.RxText.size());
            if (whole && !Contains(confirmed_, node)) {
                int32_t answeredMs = -1;
                if (!(going = confirmOne(node, events, stopAtFirst, outcome, &answeredMs))) break;
                // As prompt on a quiet line: the reply was this node's own.
                if (answeredMs >= 0 && answeredMs < limitMs) heard = false;
            }
            if (heard) heardAt(heardAtMs);
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
