// A simulated controller served inside the tool's own process: the far end of a serial control
// whose characters never leave the program. Where there is no pseudo-terminal (Windows), the
// built-in simulated controller is reached this way; the engine and its faults are the same.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/comm_control.h"
#include "sim/controller_engine.h"

namespace corvane::sim {

// The controllers on the line, shared by every control opened on it, so their memory lasts from
// one transfer to the next.
class InProcessController {
  public:
    // paced: both directions run at the line rate, as on a cable.
    InProcessController(ControllerEngine engine, bool paced)
        : engine_(std::move(engine)), paced_(paced) {}

    SceneMemory memory() const;
    void addFault(const Fault& fault);

  private:
    friend class InProcessLine;
    mutable std::mutex mutex_;
    ControllerEngine engine_;  // guarded by mutex_
    bool lineClosed_ = false;  // guarded by mutex_: a close fault ended the line for good
    bool paced_;
};

// The serial control on such a line. Replies come due as the engine says (a late one after its
// delay), one at a time, each character a character time after the last when paced. Modem lines
// and settings are taken and kept; a line closed by a fault is reported as lost.
class InProcessLine final : public CommControl {
  public:
    explicit InProcessLine(std::shared_ptr<InProcessController> controller);

    void setDevice(const std::string& device) override;
    std::string device() const override { return device_; }
    void setSettings(const std::string& settings) override;
    std::string Settings() const override { return settings_; }
    void setPortOpen(bool open) override;
    bool PortOpen() const override { return open_; }
    void setRTSEnable(bool) override {}
    void setDTREnable(bool) override {}
    void Output(const std::string& text) override;
    std::string Input() override;
    int16_t InBufferCount() override;
    void waitForInput(int milliseconds) override;

  private:
    using Clock = std::chrono::steady_clock;
    struct Reply {
        std::string bytes;
        bool close = false;
        Clock::time_point due;
        Clock::time_point start;
        size_t sent = 0;
    };
    void requireOpen() const;
    // Moves what has come due by now into arrived_; throws once the line is closed.
    void advance(Clock::time_point now);
    std::optional<Clock::time_point> nextArrival() const;

    std::shared_ptr<InProcessController> controller_;
    std::string device_ = "sim";
    std::string settings_ = "9600,n,8,1";
    bool open_ = false;
    std::vector<Reply> waiting_;
    std::optional<Reply> current_;
    Clock::time_point lastArrival_{};
    Clock::time_point lastEnd_{};
    std::string arrived_;
};

}  // namespace corvane::sim
