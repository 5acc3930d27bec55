// The simulated controller the tool starts for itself (--simulator, --port sim): node 01 holding
// the demo show. On Linux it answers at the far end of a pseudo-terminal, through the same serial
// control as a cable; on Windows, which has no pseudo-terminals, it is served inside the process.
#pragma once

#include <memory>
#include <string>

#include "connection/controller_connection.h"

namespace corvane {

class BuiltInSimulator {
  public:
    // paced: the line runs at 38400 baud, so a transfer takes as long as on a cable.
    // Throws std::system_error when it cannot start.
    explicit BuiltInSimulator(bool paced);
    ~BuiltInSimulator();
    BuiltInSimulator(const BuiltInSimulator&) = delete;
    BuiltInSimulator& operator=(const BuiltInSimulator&) = delete;

    // What a port list carries for it: the pseudo-terminal's path on Linux, "sim" on Windows.
    const std::string& device() const;
    // What messages call it: "the built-in simulator (/dev/pts/3)".
    std::string label() const;
    // The controller at node on its line. The simulator must outlive the connection.
    std::unique_ptr<ControllerConnection> connect(int node);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Opens device as ConnectDevice does (a serial line or a device server), except the simulator's own
// device, which reaches it.
std::unique_ptr<ControllerConnection> ConnectSerialOrSimulator(BuiltInSimulator* simulator,
                                                               const std::string& device, int node);

}  // namespace corvane
