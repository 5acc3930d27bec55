// On Windows the system's serial control is the Win32 communications API.
#include "link/system_serial_control.h"
#include "link/win32_serial_control.h"

namespace corvane {

std::unique_ptr<CommControl> MakeSystemSerialControl() {
    return std::make_unique<Win32SerialControl>();
}

}  // namespace corvane
