// The serial control on QSerialPort: port numbers resolve to devices through PortNames.
#pragma once

#include <memory>

#include "link/comm_control.h"
#include "link/low_latency.h"
#include "link/port_names.h"

namespace corvane {

class QtSerialControl final : public CommControl {
  public:
    // Each port opened is asked for low latency (restored when it closes) through lowLatency.
    explicit QtSerialControl(const PortNames& ports, LowLatency lowLatency = {});
    ~QtSerialControl() override;

    void setCommPort(int16_t port) override;
    int16_t CommPort() const override;
    void setSettings(const std::string& settings) override;
    std::string Settings() const override;
    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setRTSEnable(bool on) override;
    void setDTREnable(bool on) override;
    void Output(const std::string& text) override;
    std::string Input() override;
    int16_t InBufferCount() override;
    void WaitForInput(int milliseconds) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane
