// A hard deadline for a test that waits on real time: past it the test program stops with a
// message, so a fault that hangs fails the run instead of blocking it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace corvane::testing_support {

class Watchdog {
  public:
    Watchdog(std::chrono::milliseconds limit, std::string what)
        : thread_([this, limit, what = std::move(what)] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return disarmed_; })) {
                  std::fprintf(stderr, "%s did not finish within %lld ms\n", what.c_str(),
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            disarmed_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool disarmed_ = false;
    std::thread thread_;
};

}  // namespace corvane::testing_support
