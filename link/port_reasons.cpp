// What the serial control tells a technician when a port cannot be used, one text per cause.
#include "link/port_reasons.h"

namespace corvane {

std::string NotFoundReason() {
    return "no such device; check that the adapter is plugged in and that the right port is chosen";
}

std::string NoHardwareReason() {
    return "no serial port answers behind this device; check the adapter or choose another port";
}

std::string UnsupportedReason() {
    return "the device is not a serial port or does not take the line settings";
}

std::string BusyReason() {
    return "the port is in use by another program; close that program (or the tool's other window) "
           "and try again";
}

std::string PlainDeniedReason() {
    return "permission denied; ask the administrator for read and write access to the port";
}

std::string OtherOpenFailureReason(const std::string& errorText) {
    return "the port could not be opened (" + errorText + ")";
}

std::string NoDeviceReason() {
    return "no device was chosen; choose a port";
}

std::string MalformedSettingsReason(const std::string& settings) {
    return "the settings \"" + settings +
           "\" are not valid; expected baud,parity,data bits,stop bits such as \"38400,n,8,1\"";
}

std::string RefusedSettingsReason(const std::string& settings) {
    return "the device does not take the settings \"" + settings + "\"; the old settings stay";
}

std::string PortOpenChangeReason() {
    return "the port cannot be changed while it is open";
}

std::string NotOpenReason() {
    return "the port is not open";
}

std::string LostLineReason() {
    return "the line was lost: the adapter was unplugged or the controller's line closed; check "
           "the cable and the adapter, then try again";
}

std::string OutputStuckReason(int milliseconds) {
    return "the port did not take the frame within " + std::to_string(milliseconds) +
           " ms; check the cable and the controller";
}

}  // namespace corvane

namespace corvane {

std::string MalformedNetworkNameReason(const std::string& problem) {
    return problem + "; a network port is rfc2217://HOST:PORT or tcp://HOST:PORT";
}

std::string ConnectionRefusedReason(const std::string& hostAndPort) {
    return "connection refused by " + hostAndPort +
           "; check that the device server runs and that the port number is the line's";
}

std::string NoRouteReason(const std::string& host) {
    return "no route to " + host + "; check the network cable and the address";
}

std::string NoSuchHostReason(const std::string& host) {
    return host + ": no such host; check the name";
}

std::string ConnectTimeoutReason(const std::string& hostAndPort, int milliseconds) {
    return "no answer from " + hostAndPort + " within " + std::to_string(milliseconds / 1000) +
           " s; check that the device server is switched on and on this network";
}

std::string NetworkFailureReason(const std::string& hostAndPort, const std::string& errorText) {
    return "the connection to " + hostAndPort + " failed (" + errorText + ")";
}

std::string ServerClosedReason() {
    return "the device server closed the connection; check the device server and the network, "
           "then try again";
}

std::string ComPortRefusedReason() {
    return "the device server refuses COM-PORT-OPTION (RFC 2217), so the tool cannot set the "
           "line; turn RFC 2217 on for this port, or use tcp:// with the server set to 38400 8N1";
}

std::string ComPortSilentReason(int milliseconds) {
    return "the device server did not answer the line settings within " +
           std::to_string(milliseconds / 1000) +
           " s; check that the port speaks RFC 2217, or use tcp:// with the server set to "
           "38400 8N1";
}

std::string LineSettingRefusedReason(const std::string& what, const std::string& asked,
                                     const std::string& answered) {
    return "the device server set the " + what + " to " + answered + " when asked for " + asked +
           "; the line must be 38400 8N1 with no flow control";
}

}  // namespace corvane
