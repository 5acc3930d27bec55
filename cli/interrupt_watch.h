// Ctrl-C while a command talks to a controller: taken between blocks, so the command can end its
// progress line and say what the interruption left behind instead of dying mid-line.
#pragma once

#include <memory>

namespace corvane::cli {

// Holds Ctrl-C back while it exists. An interrupt still pending when it ends is delivered then.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once Ctrl-C has been pressed; the interrupt is then taken and stays taken.
    bool interrupted();

  private:
    struct Held;  // what the system needs to put back
    std::unique_ptr<Held> held_;
    bool taken_ = false;
};

}  // namespace corvane::cli
