// The serial control on the Win32 communications API, opening "\\.\COMn" (Windows only).
#pragma once

#include <memory>

#include "link/comm_control.h"

namespace corvane {

// The device is a port name ("COM3", "COM12") or its full name ("\\.\COM12").
class Win32SerialControl final : public CommControl {
  public:
    Win32SerialControl();
    ~Win32SerialControl() override;

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
