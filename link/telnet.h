// Telnet framing for a device server's line (RFC 854) with the COM-PORT-OPTION (RFC 2217): the
// bytes that set up the line, and the split of what arrives into the line's own bytes and the
// server's commands. No I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/serial_settings.h"

namespace corvane::telnet {

// | byte | name | meaning                                                   |
// |------|------|-----------------------------------------------------------|
// | 255  | IAC  | a command follows; doubled, it is a data byte 255         |
// | 251  | WILL | the sender will use the option                            |
// | 252  | WONT | the sender will not                                       |
// | 253  | DO   | the sender asks the other side to use it                  |
// | 254  | DONT | the sender asks the other side not to                     |
// | 250  | SB   | a subnegotiation begins: option, code, values             |
// | 240  | SE   | it ends (after IAC)                                       |
inline constexpr uint8_t kIac = 255;
inline constexpr uint8_t kWill = 251;
inline constexpr uint8_t kWont = 252;
inline constexpr uint8_t kDo = 253;
inline constexpr uint8_t kDont = 254;
inline constexpr uint8_t kSb = 250;
inline constexpr uint8_t kSe = 240;

// Options: TRANSMIT-BINARY 0, SUPPRESS-GO-AHEAD 3, COM-PORT-OPTION 44.
inline constexpr uint8_t kBinary = 0;
inline constexpr uint8_t kSuppressGoAhead = 3;
inline constexpr uint8_t kComPort = 44;

// COM-PORT-OPTION codes the client sends; the server answers each with the code plus 100 and the
// value it took.
// | code | name          | value                                          |
// |------|---------------|------------------------------------------------|
// | 1    | SET-BAUDRATE  | four bytes, most significant first             |
// | 2    | SET-DATASIZE  | 5 to 8                                         |
// | 3    | SET-PARITY    | 1 none, 2 odd, 3 even, 4 mark, 5 space         |
// | 4    | SET-STOPSIZE  | 1 one, 2 two, 3 one and a half                 |
// | 5    | SET-CONTROL   | 1 no flow control; 8/11 DTR/RTS on             |
// | 12   | PURGE-DATA    | 3 both the receive and the transmit buffer     |
// The server's own notifications (106 line state, 107 modem state, 108/109 flow) carry nothing
// the tool needs.
inline constexpr uint8_t kSetBaudRate = 1;
inline constexpr uint8_t kSetDataSize = 2;
inline constexpr uint8_t kSetParity = 3;
inline constexpr uint8_t kSetStopSize = 4;
inline constexpr uint8_t kSetControl = 5;
inline constexpr uint8_t kPurgeData = 12;
inline constexpr uint8_t kServerAnswer = 100;
inline constexpr uint8_t kNoFlowControl = 1;
inline constexpr uint8_t kRtsOn = 11;
inline constexpr uint8_t kDtrOn = 8;
inline constexpr uint8_t kPurgeBoth = 3;

// The line's bytes as they go out: every 255 doubled.
std::string EscapeData(std::string_view data);

// IAC verb option.
std::string Command(uint8_t verb, uint8_t option);

// IAC SB COM-PORT-OPTION code value IAC SE, 255s in value doubled.
std::string ComPortRequest(uint8_t code, std::string_view value);

// One COM-PORT-OPTION setting the client asks for: its code and value.
struct LineRequest {
    uint8_t code;
    std::string value;
};

// The requests that set the line to settings with no flow control, in order.
std::vector<LineRequest> LineRequests(const SerialSettings& settings);

// What arrives, taken apart: data bytes pass on (a doubled 255 as one), commands come out as
// events; a command cut between two reads is completed by the next.
class Decoder {
  public:
    struct Negotiation {
        uint8_t verb;  // kWill, kWont, kDo, kDont
        uint8_t option;
    };
    struct Subnegotiation {
        uint8_t option;
        std::string body;  // code and value, doubled 255s undone
    };

    // Appends the data bytes of bytes to *data; records what else came.
    void feed(std::string_view bytes, std::string* data);

    std::vector<Negotiation> negotiations;
    std::vector<Subnegotiation> subnegotiations;

  private:
    enum class State { Data, Iac, Verb, Sub, SubIac };
    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::string sub_;
};

}  // namespace corvane::telnet
