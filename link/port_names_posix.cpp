// On Linux, system port COMn is the kernel's n-th serial port.
#include "link/port_names.h"

namespace corvane {

std::string SystemPortDevice(int16_t port) {
    return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace corvane
