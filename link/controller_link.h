// The one command transaction through which the tool talks to a controller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/comm_control.h"
#include "link/stopwatch.h"

namespace corvane {

// Holds the run's last reply text and what a transaction needs: the serial control, the
// stopwatch and a way to read the selected node-list position (-1 when none is selected).
class ControllerLink {
public:
    ControllerLink(CommControl& comCV, Stopwatch& stopwatch, std::function<int()> selectedNodeIndex)
        : comCV_(comCV), stopwatch_(stopwatch), selectedNodeIndex_(std::move(selectedNodeIndex)) {}

    // Frames command for the selected node, sends it, waits up to timeout * 250 ms for
    // expectedLength characters, tests the reply; up to three attempts with the same frame.
    // True when a reply was accepted; RxText then holds it. Port failures throw PortError.
    bool SendCommand(const std::string& command, int16_t expectedLength, int32_t timeout);

    std::string RxText;  // last reply read by any attempt

    CommControl& comCV() { return comCV_; }

private:
    CommControl& comCV_;
    Stopwatch& stopwatch_;
    std::function<int()> selectedNodeIndex_;
};

}  // namespace corvane
