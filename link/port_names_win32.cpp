// On Windows, system port COMn is the device of that name.
#include "link/port_names.h"

namespace corvane {

std::string SystemPortDevice(int16_t port) {
    return "\\\\.\\COM" + std::to_string(port);
}

}  // namespace corvane
