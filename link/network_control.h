// The serial control for a line that ends at a device server on the network: a TCP connection
// named "rfc2217://HOST:PORT" (the tool sets the line over telnet's COM-PORT-OPTION) or
// "tcp://HOST:PORT" (the server's own settings apply).
#pragma once

#include <memory>

#include "link/comm_control.h"

namespace corvane {

// How long finding the host and connecting to it may take, and then the line's set-up.
inline constexpr int kNetworkConnectMs = 3000;

class NetworkControl final : public CommControl {
  public:
    NetworkControl();
    ~NetworkControl() override;

    // A malformed name is refused here, as PortError.
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
