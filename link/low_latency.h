// Low-latency mode for USB serial adapters. The common adapters hold the tail of each reply for
// up to 16 ms before passing it on, which adds about a second to a Get or a Send; the driver
// passes characters on at once when asked for low latency. A device without the
// request (a pseudo-terminal, another kind of port) is used as it is, without a word.
#pragma once

#include <functional>

namespace corvane {

class LowLatency {
  public:
    // The system's ioctl in use; tests put a recording one in its place.
    using Control = std::function<int(int fd, unsigned long request, void* argument)>;

    LowLatency();
    explicit LowLatency(Control control) : control_(std::move(control)) {}

    // Asks the driver of the open device fd for low latency, remembering how it was. False when
    // the device does not take the request; nothing has changed then.
    bool request(int fd);
    // Puts back the flags request() found, if it changed them. Called before the device closes.
    void restore(int fd);

  private:
    Control control_;
    bool changed_ = false;
    int previousFlags_ = 0;
};

}  // namespace corvane
