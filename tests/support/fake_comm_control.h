// A scripted serial control: records every call in order, answers each frame written with the
// characters a test scripts for it, and lets time pass only while the caller waits for input,
// so time-limit tests are exact and instant.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "link/comm_control.h"
#include "link/port_error.h"
#include "tests/support/test_stopwatch.h"

namespace corvane::testing_support {

class FakeCommControl final : public CommControl {
  public:
    // Characters that arrive atMs milliseconds after the frame that provoked them was written.
    struct Chunk {
        std::string text;
        int64_t atMs = 0;
    };
    using Reply = std::vector<Chunk>;  // empty: silence
    // Computes the reply to a frame; used once the queued replies run out.
    using Responder = std::function<Reply(const std::string& frame)>;

    static constexpr const char* kDevice = "fake-port";

    explicit FakeCommControl(TestStopwatch& clock) : clock_(clock) {}

    // The reply to the next frame without one.
    void queueReply(Reply reply) { queued_.push_back(std::move(reply)); }
    void queueReply(std::string text, int64_t atMs = 0) { queueReply({{std::move(text), atMs}}); }
    void queueSilence() { queueReply(Reply{}); }
    void setResponder(Responder responder) { responder_ = std::move(responder); }
    // Characters waiting now, as if already received (line noise, a stale reply).
    void inject(const std::string& text) { buffer_ += text; }
    // The next wait for input (or, with onOutput, the next Output) finds the line gone.
    void loseLineOnNextWait() { loseOnWait_ = true; }
    void loseLineOnOutput() { loseOnOutput_ = true; }

    void setDevice(const std::string& device) override {
        log("Device=" + device);
        device_ = device;
    }
    std::string device() const override { return device_; }
    void setSettings(const std::string& settings) override {
        log("Settings=" + settings);
        settings_ = settings;
    }
    std::string Settings() const override { return settings_; }
    void setPortOpen(bool open) override {
        log(std::string("PortOpen=") + (open ? "1" : "0"));
        open_ = open;
        if (!open) {
            buffer_.clear();
            pending_.clear();
        }
    }
    bool PortOpen() const override { return open_; }
    void setRTSEnable(bool on) override { log(std::string("RTSEnable=") + (on ? "1" : "0")); }
    void setDTREnable(bool on) override { log(std::string("DTREnable=") + (on ? "1" : "0")); }

    void Output(const std::string& text) override {
        use("Output=" + text);
        if (loseOnOutput_) loseLine();
        outputs.push_back(text);
        Reply reply;
        if (!queued_.empty()) {
            reply = std::move(queued_.front());
            queued_.pop_front();
        } else if (responder_) {
            reply = responder_(text);
        }
        for (auto& chunk : reply)
            pending_.push_back({std::move(chunk.text), clock_.now() + chunk.atMs});
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const Chunk& a, const Chunk& b) { return a.atMs < b.atMs; });
        deliverDue();
    }
    std::string Input() override {
        poll("Input");
        return std::exchange(buffer_, std::string());
    }
    int16_t InBufferCount() override {
        poll("InBufferCount");
        return static_cast<int16_t>(std::min<size_t>(buffer_.size(), 32767));
    }
    void waitForInput(int milliseconds) override {
        if (!open_) throw PortError(kDevice, "the port is not open");
        waits.push_back(milliseconds);
        if (loseOnWait_) loseLine();
        poll("");
        // Time runs to the first arrival within the slice, else to the slice's end.
        const int64_t until = clock_.now() + std::max(milliseconds, 0);
        const int64_t next = pending_.empty() ? until : std::min(pending_.front().atMs, until);
        clock_.advance(std::max<int64_t>(next - clock_.now(), 0));
        deliverDue();
    }

    // Every call in order: "Device=/dev/ttyS0", "Settings=...", "PortOpen=1", "RTSEnable=1",
    // "DTREnable=1", "Output=<frame>", "Input", "InBufferCount", "PortOpen=0".
    std::vector<std::string> calls;
    std::vector<std::string> outputs;  // every frame written
    std::vector<int> waits;            // the slice of every wait for input

    // The calls without the polls, which a waiting transaction makes many of.
    std::vector<std::string> callsWithoutPolls() const {
        std::vector<std::string> out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [](const std::string& c) { return c != "InBufferCount"; });
        return out;
    }

  private:
    void log(std::string call) { calls.push_back(std::move(call)); }
    void use(std::string call) {
        if (!open_) throw PortError(kDevice, "the port is not open");
        log(std::move(call));
    }
    // A poll of the line (call, or a wait when empty). A caller that polls 100000 times without
    // ever letting time pass would hang the test, since only waiting moves this fake's clock: it
    // is stopped here.
    void poll(const char* call) {
        if (*call != '\0') use(call);
        if (clock_.now() != lastNow_) {
            lastNow_ = clock_.now();
            pollsWithoutTime_ = 0;
        }
        if (++pollsWithoutTime_ > 100000)
            throw std::logic_error("the caller polls the port in a busy loop: no time passes");
        deliverDue();
    }
    [[noreturn]] void loseLine() {
        open_ = loseOnWait_ = loseOnOutput_ = false;
        throw PortError(kDevice, "the line was lost");
    }
    void deliverDue() {
        while (!pending_.empty() && pending_.front().atMs <= clock_.now()) {
            buffer_ += pending_.front().text;
            pending_.pop_front();
        }
    }

    TestStopwatch& clock_;
    std::string device_;
    std::string settings_ = "9600,n,8,1";
    bool open_ = false;
    bool loseOnWait_ = false;
    bool loseOnOutput_ = false;
    std::deque<Reply> queued_;
    Responder responder_;
    std::deque<Chunk> pending_;  // atMs here is absolute, on the stopwatch's now()
    std::string buffer_;
    int pollsWithoutTime_ = 0;
    int64_t lastNow_ = 0;
};

}  // namespace corvane::testing_support
