// Ctrl-C held back while a command talks to a controller, through the console's control handler.
#include <windows.h>

#include <atomic>

#include "cli/interrupt_watch.h"

namespace corvane::cli {
namespace {

std::atomic<bool> pressed{false};

BOOL WINAPI TakeInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    pressed = true;
    return TRUE;
}

}  // namespace

struct InterruptWatch::Held {};

InterruptWatch::InterruptWatch() : held_(std::make_unique<Held>()) {
    pressed = false;
    SetConsoleCtrlHandler(TakeInterrupt, TRUE);
}

InterruptWatch::~InterruptWatch() {
    SetConsoleCtrlHandler(TakeInterrupt, FALSE);
    // An interrupt nobody took ends the program as Ctrl-C would have.
    if (pressed && !taken_) ExitProcess(130);
}

bool InterruptWatch::interrupted() {
    if (pressed) taken_ = true;
    return taken_;
}

}  // namespace corvane::cli
