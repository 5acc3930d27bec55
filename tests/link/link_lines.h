// What the link's tests share: a block read reply as a controller sends it, and a serial control
// opened on a device the way a transfer opens it.
#pragma once

#include <string>

#include "link/qt_serial_control.h"

namespace corvane::testing_support {

// "[" + check digits + 64 levels as hex pairs + "]", 132 characters, the check digits right.
inline const std::string kBlockReply =
    "[C00004080C1014181C2024282C3034383C4044484C5054585C6064686C7074787C8084888C9094989CA0A4A8ACB"
    "0B4B8BCC0C4C8CCD0D4D8DCE0E4E8ECF0F4F8FC]";

inline void OpenLikeATransfer(QtSerialControl& comCV, const std::string& device,
                              const std::string& settings = "38400,n,8,1") {
    comCV.setDevice(device);
    comCV.setSettings(settings);
    comCV.setPortOpen(true);
    comCV.setRTSEnable(true);
    comCV.setDTREnable(true);
}

}  // namespace corvane::testing_support
