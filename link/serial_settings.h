// The serial control's settings text, "38400,n,8,1": baud, parity, data bits, stop bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct SerialSettings {
    int32_t baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Four comma-separated fields, no spaces: a baud rate of digits (1 to 4000000), a parity letter
// (n, e, o, m, s in either case), data bits 5 to 8, stop bits 1, 1.5 or 2. Anything else gives
// nothing.
std::optional<SerialSettings> ParseSerialSettings(std::string_view text);

}  // namespace corvane
