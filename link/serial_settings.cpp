// The serial control's settings text, "38400,n,8,1": baud, parity, data bits, stop bits.
#include "link/serial_settings.h"

#include <array>
#include <cctype>

namespace corvane {
namespace {

constexpr int64_t kMaxBaud = 4'000'000;

std::optional<int32_t> Baud(std::string_view field) {
    if (field.empty() || field.size() > 7) return std::nullopt;
    int64_t value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxBaud) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<Parity> ParityOf(std::string_view field) {
    if (field.size() != 1) return std::nullopt;
    switch (std::tolower(static_cast<unsigned char>(field[0]))) {
        case 'n':
            return Parity::None;
        case 'e':
            return Parity::Even;
        case 'o':
            return Parity::Odd;
        case 'm':
            return Parity::Mark;
        case 's':
            return Parity::Space;
        default:
            return std::nullopt;
    }
}

std::optional<int> DataBits(std::string_view field) {
    if (field.size() != 1 || field[0] < '5' || field[0] > '8') return std::nullopt;
    return field[0] - '0';
}

std::optional<StopBits> StopBitsOf(std::string_view field) {
    if (field == "1") return StopBits::One;
    if (field == "1.5") return StopBits::OneAndHalf;
    if (field == "2") return StopBits::Two;
    return std::nullopt;
}

}  // namespace

std::optional<SerialSettings> ParseSerialSettings(std::string_view text) {
    std::array<std::string_view, 4> fields;
    size_t start = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const size_t comma = text.find(',', start);
        const bool last = i + 1 == fields.size();
        if (last != (comma == std::string_view::npos)) return std::nullopt;
        fields[i] = text.substr(start, last ? std::string_view::npos : comma - start);
        start = comma + 1;
    }
    const auto baud = Baud(fields[0]);
    const auto parity = ParityOf(fields[1]);
    const auto dataBits = DataBits(fields[2]);
    const auto stopBits = StopBitsOf(fields[3]);
    if (!baud || !parity || !dataBits || !stopBits) return std::nullopt;
    return SerialSettings{*baud, *parity, *dataBits, *stopBits};
}

}  // namespace corvane
