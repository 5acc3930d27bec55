// A simulated controller served inside the tool's own process.
#include "sim/in_process_line.h"

#include <algorithm>
#include <limits>
#include <thread>

#include "link/port_error.h"
#include "link/port_reasons.h"
#include "link/serial_settings.h"
#include "sim/pty_server.h"

namespace corvane::sim {

SceneMemory InProcessController::memory() const {
    std::lock_guard lock(mutex_);
    return engine_.memory();
}

void InProcessController::addFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    engine_.faults().add(fault);
}

InProcessLine::InProcessLine(std::shared_ptr<InProcessController> controller)
    : controller_(std::move(controller)) {}

void InProcessLine::setDevice(const std::string& device) {
    if (open_ && device != device_) throw PortError(device_, PortOpenChangeReason());
    device_ = device;
}

void InProcessLine::setSettings(const std::string& settings) {
    if (!ParseSerialSettings(settings)) throw PortError(device_, MalformedSettingsReason(settings));
    settings_ = settings;
}

void InProcessLine::setPortOpen(bool open) {
    waiting_.clear();
    current_.reset();
    arrived_.clear();
    open_ = false;
    if (!open) return;
    {
        std::lock_guard lock(controller_->mutex_);
        if (controller_->lineClosed_) throw PortError(device_, LostLineReason());
    }
    open_ = true;
}

void InProcessLine::requireOpen() const {
    if (!open_) throw PortError(device_, NotOpenReason());
}

void InProcessLine::Output(const std::string& text) {
    requireOpen();
    const Clock::time_point now = Clock::now();
    advance(now);
    const bool paced = controller_->paced_;
    std::lock_guard lock(controller_->mutex_);
    for (const char c : text) {
        // A character is there once all its bits have come down the line.
        const Clock::time_point arrival =
            paced ? std::max(lastArrival_, now) + kCharacterTime : now;
        lastArrival_ = arrival;
        for (Action& a : controller_->engine_.feed(std::string_view(&c, 1))) {
            Reply r;
            r.bytes = std::move(a.bytes);
            r.close = a.kind == Action::Kind::CloseLine;
            r.due = arrival + a.delay;
            waiting_.push_back(std::move(r));
        }
    }
}

void InProcessLine::advance(Clock::time_point now) {
    const bool paced = controller_->paced_;
    for (;;) {
        if (!current_) {
            const auto next =
                std::min_element(waiting_.begin(), waiting_.end(),
                                 [](const Reply& a, const Reply& b) { return a.due < b.due; });
            if (next == waiting_.end() || now < next->due) return;
            current_ = std::move(*next);
            waiting_.erase(next);
            current_->start = paced ? std::max(current_->due, lastEnd_) : current_->due;
        }
        Reply& r = *current_;
        if (r.close) {
            {
                std::lock_guard lock(controller_->mutex_);
                controller_->lineClosed_ = true;
            }
            setPortOpen(false);
            throw PortError(device_, LostLineReason());
        }
        size_t due = r.bytes.size();
        if (paced)
            due = std::min(due, static_cast<size_t>(
                                    std::max<Clock::rep>((now - r.start) / kCharacterTime, 0)));
        if (due > r.sent) {
            arrived_.append(r.bytes, r.sent, due - r.sent);
            r.sent = due;
        }
        if (r.sent < r.bytes.size()) return;
        lastEnd_ = paced ? r.start + static_cast<long>(r.bytes.size()) * kCharacterTime : r.due;
        current_.reset();
    }
}

std::optional<InProcessLine::Clock::time_point> InProcessLine::nextArrival() const {
    if (current_) return current_->start + static_cast<long>(current_->sent + 1) * kCharacterTime;
    const auto next =
        std::min_element(waiting_.begin(), waiting_.end(),
                         [](const Reply& a, const Reply& b) { return a.due < b.due; });
    if (next == waiting_.end()) return std::nullopt;
    return next->due;
}

std::string InProcessLine::Input() {
    requireOpen();
    advance(Clock::now());
    std::string taken;
    taken.swap(arrived_);
    return taken;
}

int16_t InProcessLine::InBufferCount() {
    requireOpen();
    advance(Clock::now());
    return static_cast<int16_t>(
        std::min<size_t>(arrived_.size(), std::numeric_limits<int16_t>::max()));
}

void InProcessLine::waitForInput(int milliseconds) {
    requireOpen();
    const size_t before = arrived_.size();
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    for (;;) {
        advance(Clock::now());
        if (arrived_.size() > before) return;
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return;
        const std::optional<Clock::time_point> next = nextArrival();
        std::this_thread::sleep_until(next ? std::min(*next, deadline) : deadline);
    }
}

}  // namespace corvane::sim
