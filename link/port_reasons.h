// What the serial control tells a technician when a port cannot be used, one text per cause.
#pragma once

#include <string>

namespace corvane {

// The kinds of open failure the serial layer reports. It gives the same code for a device held by
// another program and one the user may not open, so the device itself is examined as well.
enum class OpenFault { NotFound, Denied, Unsupported, Other };

// Why device could not be opened, from what the system says about the device itself (Linux).
// errorText is the serial layer's own wording, used only when nothing better is known.
std::string OpenFailureReason(const std::string& device, OpenFault fault,
                              const std::string& errorText);

// The words for each cause, the same whichever system's serial control meets it.
std::string NotFoundReason();
std::string NoHardwareReason();
std::string UnsupportedReason();
std::string BusyReason();
// A port the user may not open, where the system does not say which group or owner may.
std::string PlainDeniedReason();
std::string OtherOpenFailureReason(const std::string& errorText);

std::string NoDeviceReason();
std::string MalformedSettingsReason(const std::string& settings);
std::string RefusedSettingsReason(const std::string& settings);
std::string PortOpenChangeReason();
std::string NotOpenReason();
std::string LostLineReason();
std::string OutputStuckReason(int milliseconds);

}  // namespace corvane

namespace corvane {

// What the network control says when a device server cannot be reached or used.
std::string MalformedNetworkNameReason(const std::string& problem);
std::string ConnectionRefusedReason(const std::string& hostAndPort);
std::string NoRouteReason(const std::string& host);
std::string NoSuchHostReason(const std::string& host);
std::string ConnectTimeoutReason(const std::string& hostAndPort, int milliseconds);
std::string NetworkFailureReason(const std::string& hostAndPort, const std::string& errorText);
std::string ServerClosedReason();
std::string ComPortRefusedReason();
std::string ComPortSilentReason(int milliseconds);
std::string LineSettingRefusedReason(const std::string& what, const std::string& asked,
                                     const std::string& answered);

}  // namespace corvane
