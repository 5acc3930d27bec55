// Low-latency mode for USB serial adapters.
#include "link/low_latency.h"

#include <linux/serial.h>
#include <linux/tty_flags.h>
#include <sys/ioctl.h>

namespace corvane {

LowLatency::LowLatency()
    : control_([](int fd, unsigned long request, void* argument) {
          return ::ioctl(fd, request, argument);
      }) {}

bool LowLatency::request(int fd) {
    changed_ = false;
    serial_struct serial{};
    if (control_(fd, TIOCGSERIAL, &serial) != 0) return false;
    if ((serial.flags & ASYNC_LOW_LATENCY) != 0) return true;
    previousFlags_ = serial.flags;
    serial.flags |= ASYNC_LOW_LATENCY;
    if (control_(fd, TIOCSSERIAL, &serial) != 0) return false;
    changed_ = true;
    return true;
}

void LowLatency::restore(int fd) {
    if (!changed_) return;
    changed_ = false;
    serial_struct serial{};
    if (control_(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags = previousFlags_;
    control_(fd, TIOCSSERIAL, &serial);
}

}  // namespace corvane
