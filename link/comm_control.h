// The serial control as the tool drives it: set the device and settings, open, raise the modem
// lines, write a frame, count and read what has arrived.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Property setters and getters carry the names the tool has always used for them. The port is
// named by its device ("/dev/ttyS0", "/dev/ttyUSB0"), chosen by whoever opens the line.
// Failures of the port itself (cannot open, line lost) are thrown as PortError; the port is
// then left closed.
class CommControl {
  public:
    virtual ~CommControl() = default;

    virtual void setDevice(const std::string& device) = 0;
    virtual std::string device() const = 0;
    // "38400,n,8,1": baud, parity (n, e, o, m, s), data bits, stop bits. Malformed text throws.
    virtual void setSettings(const std::string& settings) = 0;
    virtual std::string Settings() const = 0;
    virtual void setPortOpen(bool open) = 0;
    virtual bool PortOpen() const = 0;
    // Devices without modem lines (a pseudo-terminal) accept these silently.
    virtual void setRTSEnable(bool on) = 0;
    virtual void setDTREnable(bool on) = 0;

    // Sends every character as one byte, in order; returns once they are written.
    virtual void Output(const std::string& text) = 0;
    // Every character waiting, removed from the buffer.
    virtual std::string Input() = 0;
    // Characters waiting, without processing any window event.
    virtual int16_t InBufferCount() = 0;

    // Blocks up to the given milliseconds or until further characters arrive, whichever is first,
    // so a waiting transaction does not spin. Characters already waiting do not end the wait: a
    // reply that stops short of its length must not turn the wait into a busy loop.
    virtual void waitForInput(int milliseconds) = 0;
};

}  // namespace corvane
