// The system's own serial ports and the devices they stand for.
#include "link/port_names.h"

#include "link/hex.h"

namespace corvane {

std::optional<int16_t> SystemPortNumber(std::string_view name) {
    if (name.size() != 4 || !SameTextAnyCase(name.substr(0, 3), "COM")) return std::nullopt;
    if (name[3] < '1' || name[3] > '8') return std::nullopt;
    return static_cast<int16_t>(name[3] - '0');
}

}  // namespace corvane
