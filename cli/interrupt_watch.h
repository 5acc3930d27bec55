// Ctrl-C while a command talks to a controller: taken between blocks, so the command can end its
// progress line and say what the interruption left behind instead of dying mid-line.
#pragma once

#include <csignal>

namespace corvane::cli {

// Holds SIGINT back while it exists. An interrupt still pending when it ends is delivered then.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once Ctrl-C has been pressed; the interrupt is then taken and stays taken.
    bool interrupted();

  private:
    sigset_t previous_{};
    bool taken_ = false;
};

}  // namespace corvane::cli
