// What the window tells a technician when a transfer stops: the fixed message, and below it where
// it stopped, what the controller's line did, what changed and what to check.
#pragma once

#include <QString>

#include "document/message_box.h"
#include "transfer/scene_transfer.h"

namespace corvane {

enum class TransferWay { Get, Send };

// The port and node of a transfer as the window lists them.
struct TransferPlace {
    QString portLabel;  // "COM1", "ttyUSB0", "Simulator"
    QString device;     // "/dev/ttyS0"
    int node = 1;       // 1 to 254
};

// "Upload Error. Retry." (Get) or "Download Error. Retry." (Send), with below it:
//   Port COM1 (/dev/ttyS0), Node: 01.
//   Block: 05 Of 64 failed: no answer (3 attempts).
//   The table is as it was.
//   Check that the controller is switched on, ...; then click again.
Message BlockFailureMessage(TransferWay way, const TransferOutcome& outcome,
                            const TransferPlace& place);

// The port's own message ("Could not use COM1 (/dev/ttyS0): ..."). When the line was lost while
// block blockShown moved (-1: the port did not open), below it the node, the block and what
// changed.
Message PortFailureMessage(TransferWay way, const TransferOutcome& outcome,
                           const TransferPlace& place, int blockShown);

}  // namespace corvane
