// A stopwatch whose time passes only when the test (or a double acting for the line) advances it.
#pragma once

#include <cstdint>

#include "link/stopwatch.h"

namespace corvane::testing_support {

class TestStopwatch final : public Stopwatch {
  public:
    void restart() override {
        start_ = now_;
        ++restarts;
    }
    int32_t reading() const override { return static_cast<int32_t>(now_ - start_); }

    void advance(int64_t milliseconds) { now_ += milliseconds; }
    // Milliseconds since the test began, unaffected by restarts.
    int64_t now() const { return now_; }

    int restarts = 0;

  private:
    int64_t now_ = 0;
    int64_t start_ = 0;
};

}  // namespace corvane::testing_support
