// On Linux the system's serial control is QSerialPort, with low latency for USB adapters.
#include "link/qt_serial_control.h"
#include "link/system_serial_control.h"

namespace corvane {

std::unique_ptr<CommControl> MakeSystemSerialControl() {
    return std::make_unique<QtSerialControl>();
}

}  // namespace corvane
