// The transaction stopwatch: restarted after each frame is written, read in milliseconds.
#pragma once

#include <chrono>
#include <cstdint>

namespace corvane {

class Stopwatch {
  public:
    virtual ~Stopwatch() = default;
    virtual void restart() = 0;
    // Milliseconds since the last restart; rises while time passes.
    virtual int32_t reading() const = 0;
};

class SteadyStopwatch final : public Stopwatch {
  public:
    void restart() override { start_ = std::chrono::steady_clock::now(); }
    int32_t reading() const override {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        return static_cast<int32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace corvane
