// One controller on one line, the one way the windows, the command line, the benchmarks and the
// tests reach a controller: opened from a device and a node, it owns the serial control, the
// stopwatch, the link and the transfers.
#pragma once

#include <memory>
#include <string>

#include "document/scene_table.h"
#include "link/comm_control.h"
#include "link/controller_link.h"
#include "link/stopwatch.h"
#include "transfer/node_scan.h"
#include "transfer/scene_transfer.h"

namespace corvane {

class ControllerConnection {
  public:
    // The controller at node (1 to 254) on the port at device, through comCV and stopwatch. The
    // port opens for each transfer and closes at its end.
    ControllerConnection(std::string device, int node, std::unique_ptr<CommControl> comCV,
                         std::unique_ptr<Stopwatch> stopwatch);
    ~ControllerConnection();
    ControllerConnection(const ControllerConnection&) = delete;
    ControllerConnection& operator=(const ControllerConnection&) = delete;

    const std::string& device() const { return device_; }
    int node() const { return link_.node(); }
    // Turns to another controller on the same line.
    void setNode(int node) { link_.setNode(node); }
    // What messages call the line: "COM1", "/dev/ttyUSB0", "the built-in simulator (/dev/pts/3)";
    // the device unless the opener named it otherwise.
    const std::string& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }
    // The serial control, for checks that the port is closed between transfers.
    const CommControl& comCV() const { return *comCV_; }
    // Something the line needs for as long as the connection lives (a built-in simulator).
    void keep(std::shared_ptr<void> resource) { kept_ = std::move(resource); }

    // The 64 blocks from the controller into scenes (all of them or none), and from scenes to the
    // controller, with progress and outcome through events.
    TransferOutcome getScenes(SceneTable& scenes, const TransferEvents& events);
    TransferOutcome sendScenes(const SceneTable& scenes, const TransferEvents& events);

    // Looks for controllers at nodes on this line (each asked for at most limitMs, each answer
    // confirmed); with stopAtFirst, ends at the first one found.
    ScanOutcome scanNodes(const std::vector<int>& nodes, int32_t limitMs, const ScanEvents& events,
                          bool stopAtFirst = false);

  private:
    std::string device_;
    std::string label_;
    std::shared_ptr<void> kept_;
    std::unique_ptr<CommControl> comCV_;
    std::unique_ptr<Stopwatch> stopwatch_;
    ControllerLink link_;
    SceneTransfer transfer_;
};

// The controller at node on the system's serial port at device (the system's serial control, a
// steady clock).
std::unique_ptr<ControllerConnection> ConnectSerial(const std::string& device, int node);

// The controller at node on a serial device path, or on a device server's network port
// ("rfc2217://HOST:PORT", "tcp://HOST:PORT", checked by whoever took the name).
std::unique_ptr<ControllerConnection> ConnectDevice(const std::string& device, int node);

// False, with the reason in *problem, for a name meant as a network port that is not well formed;
// true for every other name (whether it can be opened shows when it is).
bool CheckPortName(const std::string& name, std::string* problem);

// The line a technician names: a device path, "COM1" to "COM8", a device server on the network
// ("rfc2217://HOST:PORT", "tcp://HOST:PORT"), or "sim" for a built-in simulated controller with
// the demo show, living as long as the connection ("COM1", "sim" and the prefixes in any case).
// nullptr, with a one-line reason in *error, when the name stands for nothing that can be opened.
std::unique_ptr<ControllerConnection> ConnectNamed(const std::string& name, int node,
                                                   std::string* error);

}  // namespace corvane
