// Network port names.
#include "link/network_ports.h"

#include <charconv>

#include "link/hex.h"

namespace corvane {
namespace {

bool StartsAnyCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextAnyCase(text.substr(0, prefix.size()), prefix);
}

bool HostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool Ipv6Character(char c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
           c == '.' || c == '%';
}

}  // namespace

std::string NetworkPortName::hostAndPort() const {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool IsNetworkPortName(std::string_view name) {
    return StartsAnyCase(name, kRfc2217Prefix) || StartsAnyCase(name, kRawTcpPrefix);
}

std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name, std::string* problem) {
    NetworkPortName parsed;
    std::string_view rest;
    if (StartsAnyCase(name, kRfc2217Prefix)) {
        parsed.protocol = NetworkProtocol::Rfc2217;
        rest = name.substr(kRfc2217Prefix.size());
    } else if (StartsAnyCase(name, kRawTcpPrefix)) {
        parsed.protocol = NetworkProtocol::RawTcp;
        rest = name.substr(kRawTcpPrefix.size());
    } else {
        *problem = "\"" + std::string(name) + "\" is not a network port (rfc2217://HOST:PORT or " +
                   "tcp://HOST:PORT)";
        return std::nullopt;
    }
    const auto fail = [&](const std::string& why) {
        *problem = "\"" + std::string(name) + "\": " + why;
        return std::nullopt;
    };
    std::string_view host;
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos) return fail("the IPv6 address has no closing ]");
        host = rest.substr(1, close - 1);
        for (const char c : host)
            if (!Ipv6Character(c))
                return fail("\"" + std::string(host) + "\" is not an IPv6 address");
        rest.remove_prefix(close + 1);
        if (rest.empty() || rest.front() != ':') return fail("the port number is missing (:PORT)");
        port = rest.substr(1);
    } else {
        const size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) return fail("the port number is missing (:PORT)");
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (host.find(':') != std::string_view::npos)
            return fail("an IPv6 address goes in brackets, as in tcp://[::1]:4001");
        for (const char c : host)
            if (!HostCharacter(c)) return fail("\"" + std::string(host) + "\" is not a host name");
    }
    if (host.empty()) return fail("the host is missing (HOST:PORT)");
    unsigned number = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || ec != std::errc() || end != port.data() + port.size() || number < 1 ||
        number > 65535)
        return fail("the port must be a number from 1 to 65535");
    parsed.host = std::string(host);
    parsed.port = static_cast<uint16_t>(number);
    return parsed;
}

}  // namespace corvane
