// Telnet framing with the COM-PORT-OPTION.
#include "link/telnet.h"

namespace corvane::telnet {
namespace {

char Byte(uint8_t b) {
    return static_cast<char>(b);
}

uint8_t ParityCode(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return 2;
        case Parity::Even:
            return 3;
        case Parity::Mark:
            return 4;
        case Parity::Space:
            return 5;
        case Parity::None:
            break;
    }
    return 1;
}

uint8_t StopCode(StopBits stop) {
    switch (stop) {
        case StopBits::Two:
            return 2;
        case StopBits::OneAndHalf:
            return 3;
        case StopBits::One:
            break;
    }
    return 1;
}

}  // namespace

std::string EscapeData(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (const char c : data) {
        out += c;
        if (static_cast<uint8_t>(c) == kIac) out += c;
    }
    return out;
}

std::string Command(uint8_t verb, uint8_t option) {
    return {Byte(kIac), Byte(verb), Byte(option)};
}

std::string ComPortRequest(uint8_t code, std::string_view value) {
    return std::string{Byte(kIac), Byte(kSb), Byte(kComPort), Byte(code)} + EscapeData(value) +
           std::string{Byte(kIac), Byte(kSe)};
}

std::vector<LineRequest> LineRequests(const SerialSettings& settings) {
    const auto baud = static_cast<uint32_t>(settings.baud);
    const std::string baudBytes{
        Byte(static_cast<uint8_t>(baud >> 24)), Byte(static_cast<uint8_t>(baud >> 16)),
        Byte(static_cast<uint8_t>(baud >> 8)), Byte(static_cast<uint8_t>(baud))};
    return {{kSetBaudRate, baudBytes},
            {kSetDataSize, std::string(1, Byte(static_cast<uint8_t>(settings.dataBits)))},
            {kSetParity, std::string(1, Byte(ParityCode(settings.parity)))},
            {kSetStopSize, std::string(1, Byte(StopCode(settings.stopBits)))},
            {kSetControl, std::string(1, Byte(kNoFlowControl))}};
}

void Decoder::feed(std::string_view bytes, std::string* data) {
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        switch (state_) {
            case State::Data:
                if (b == kIac)
                    state_ = State::Iac;
                else
                    *data += c;
                break;
            case State::Iac:
                if (b == kIac) {
                    *data += c;
                    state_ = State::Data;
                } else if (b == kWill || b == kWont || b == kDo || b == kDont) {
                    verb_ = b;
                    state_ = State::Verb;
                } else if (b == kSb) {
                    sub_.clear();
                    state_ = State::Sub;
                } else {
                    state_ = State::Data;  // NOP, GA and the like carry nothing
                }
                break;
            case State::Verb:
                negotiations.push_back({verb_, b});
                state_ = State::Data;
                break;
            case State::Sub:
                if (b == kIac)
                    state_ = State::SubIac;
                else
                    sub_ += c;
                break;
            case State::SubIac:
                if (b == kIac) {
                    sub_ += c;
                    state_ = State::Sub;
                } else {
                    // SE, or anything else that ends a subnegotiation cut short.
                    if (!sub_.empty())
                        subnegotiations.push_back(
                            {static_cast<uint8_t>(sub_.front()), sub_.substr(1)});
                    sub_.clear();
                    state_ = State::Data;
                }
                break;
        }
    }
}

}  // namespace corvane::telnet
