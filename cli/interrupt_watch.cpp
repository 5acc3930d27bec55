// Ctrl-C held back while a command talks to a controller.
#include "cli/interrupt_watch.h"

#include <pthread.h>

#include <ctime>

namespace corvane::cli {
namespace {

sigset_t InterruptOnly() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    const sigset_t set = InterruptOnly();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

InterruptWatch::~InterruptWatch() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
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
