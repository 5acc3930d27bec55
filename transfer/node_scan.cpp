// Finding the controllers on a line.
#include "transfer/node_scan.h"

#include <algorithm>

#include "link/port_error.h"
#include "transfer/scene_transfer.h"

namespace corvane {

bool NodeScan::confirm(int node, int32_t limitMs) {
    // Whatever an earlier request's slow answer still brings is let go first.
    link_.drainUntil(2 * static_cast<int64_t>(limitMs));
    link_.setNode(node);
    return link_.probe(ReadBlockCommand(0), kReadReplyLength, kConfirmLimitMs);
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
    try {
        OpenLine(port, device_);
        int previous = 0;
        for (const int node : nodes) {
            if (events.stopRequested && events.stopRequested()) {
                outcome.kind = ScanOutcome::Kind::Interrupted;
                break;
            }
            if (events.probing) events.probing(node);
            link_.setNode(node);
            if (link_.probe(ReadBlockCommand(0), kReadReplyLength, limitMs)) {
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
