// The serial control on QSerialPort, opening its device by path.
#pragma once

#include <memory>

#include "link/comm_control.h"
#include "link/low_latency.h"

namespace corvane {

class QtSerialControl final : public CommControl {
  public:
    // Each port opened is asked for low latency (restored when it closes) through lowLatency.
    explicit QtSerialControl(LowLatency lowLatency = {});
    ~QtSerialControl() override;

    void setDevice(const std::string& device) override;
    std::string device() const override;
    void setSettings(const std::string& settings) override;
    std::string Settings() const override;
    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setRTSEnable(bool on) override;
    void setDTREnable(bool on) override;
    void Output(const std::string& text) override;
    std::string Input() override;
    int16_t InBufferCount() override;
    void waitForInput(int milliseconds) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane
