// Ctrl-C held back while a command talks to a controller.
#include <pthread.h>

#include <csignal>
#include <ctime>

#include "cli/interrupt_watch.h"

namespace corvane::cli {
namespace {

sigset_t InterruptOnly() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

struct InterruptWatch::Held {
    sigset_t previous{};
};

InterruptWatch::InterruptWatch() : held_(std::make_unique<Held>()) {
    const sigset_t set = InterruptOnly();
    pthread_sigmask(SIG_BLOCK, &set, &held_->previous);
}

InterruptWatch::~InterruptWatch() {
    pthread_sigmask(SIG_SETMASK, &held_->previous, nullptr);
}

bool InterruptWatch::interrupted() {
    if (taken_) return true;
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) != 0 || sigismember(&pending, SIGINT) != 1) return false;
    const sigset_t set = InterruptOnly();
    const timespec now{0, 0};
    taken_ = sigtimedwait(&set, nullptr, &now) == SIGINT;
    return taken_;
}

}  // namespace corvane::cli
