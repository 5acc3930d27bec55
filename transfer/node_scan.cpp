// Finding the controllers on a line.
#include "transfer/node_scan.h"

#include <algorithm>

#include "link/port_error.h"
#include "transfer/scene_transfer.h"

namespace corvane {

bool NodeScan::confirm(int node, int32_t limitMs) {
    // Whatever a request that went unanswered may still bring is let go first.
    if (lateMayFollow_) link_.drainUntil(2 * static_cast<int64_t>(limitMs));
    link_.setNode(node);
    const bool answered = link_.probe(ReadBlockCommand(0), kReadReplyLength, kConfirmLimitMs);
    lateMayFollow_ = link_.replyMayFollow();
    return answered;
}

ScanOutcome NodeScan::scan(const std::vector<int>& nodes, int32_t limitMs, const ScanEvents& events,
                           bool stopAtFirst) {
    ScanOutcome outcome;
    const int home = link_.node();
    CommControl& port = link_.comCV();
    std::vector<int> checked;  // nodes already given their confirming request
    auto confirmOnce = [&](int node) {
        if (std::find(checked.begin(), checked.end(), node) != checked.end()) return;
        checked.push_back(node);
        if (confirm(node, limitMs)) outcome.found.push_back(node);
    };
    lateMayFollow_ = false;
    try {
        OpenLine(port, device_);
        int previous = 0;
        for (const int node : nodes) {
            // Told first, so a Cancel pressed while the last node was asked stops before this one.
            if (events.probing) events.probing(node);
            if (events.stopRequested && events.stopRequested()) {
                outcome.kind = ScanOutcome::Kind::Interrupted;
                break;
            }
            link_.setNode(node);
            const bool answered = link_.probe(ReadBlockCommand(0), kReadReplyLength, limitMs);
            lateMayFollow_ = lateMayFollow_ || link_.replyMayFollow();
            if (answered) {
                if (previous != 0) confirmOnce(previous);
                confirmOnce(node);
                if (stopAtFirst && !outcome.found.empty()) break;
            }
            previous = node;
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
