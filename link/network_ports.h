// Network port names: "rfc2217://HOST:PORT" for a device server that sets the line itself over
// telnet's COM-PORT-OPTION, "tcp://HOST:PORT" for one that passes bytes as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class NetworkProtocol { Rfc2217, RawTcp };

struct NetworkPortName {
    NetworkProtocol protocol = NetworkProtocol::RawTcp;
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    uint16_t port = 0;

    // "HOST:PORT", an IPv6 address in brackets.
    std::string hostAndPort() const;
};

// The two prefixes a network name starts with, for help texts and completion.
inline constexpr std::string_view kRfc2217Prefix = "rfc2217://";
inline constexpr std::string_view kRawTcpPrefix = "tcp://";

// True when name starts with one of the prefixes (in any case): it is meant as a network port,
// well formed or not.
bool IsNetworkPortName(std::string_view name);

// The parts of a network name; nullopt with the reason in *problem when it is not well formed
// (no host, no port, a port outside 1 to 65535, an IPv6 address without brackets).
std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name, std::string* problem);

}  // namespace corvane
