// The serial control of the system the tool runs on: QSerialPort on Linux, the Win32
// communications API on Windows. The build picks the one.
#pragma once

#include <memory>

#include "link/comm_control.h"

namespace corvane {

std::unique_ptr<CommControl> MakeSystemSerialControl();

}  // namespace corvane
