// The COM ports Windows lists beyond COM1 to COM8: the values under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, each a port name, named by its driver's device.
#include <windows.h>

#include "link/adapter_scan.h"
#include "link/port_names.h"

namespace corvane {
namespace {

std::string Narrow(const wchar_t* text, size_t length) {
    if (length == 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr,
                        nullptr);
    return out;
}

// "\Device\Serial0" says what kind of port it is: "Serial0".
std::string DriverDevice(const std::string& valueName) {
    const size_t slash = valueName.find_last_of('\\');
    return slash == std::string::npos ? valueName : valueName.substr(slash + 1);
}

}  // namespace

std::string SystemPortName(int16_t port) {
    return "COM" + std::to_string(port);
}

std::vector<SerialAdapter> ScanSerialAdapters() {
    std::vector<ReportedPort> listed;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[256];
        DWORD nameLength = 256;
        DWORD dataBytes = sizeof data;
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        size_t dataLength = dataBytes / sizeof(wchar_t);
        while (dataLength > 0 && data[dataLength - 1] == L'\0') --dataLength;
        const std::string port = Narrow(data, dataLength);
        listed.push_back({port, "\\\\.\\" + port, DriverDevice(Narrow(name, nameLength))});
    }
    RegCloseKey(key);
    return FurtherComPorts(listed);
}

}  // namespace corvane
