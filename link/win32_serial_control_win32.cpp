// The serial control on the Win32 communications API, driven with blocking calls.
//
// Reads use two time-out modes: "return at once with what is there" for counting and reading,
// and "return with the first character, or after the limit" for waiting, so that a waiting
// transaction blocks in the driver instead of spinning. Characters a wait brings in are held here
// until they are counted and read. A call that fails on an open port means the line is gone
// (adapter pulled, the far end closed), so the port is closed and the loss reported.
#include <windows.h>

#include <algorithm>
#include <limits>

#include "link/port_error.h"
#include "link/port_reasons.h"
#include "link/serial_settings.h"
#include "link/win32_serial_control.h"

namespace corvane {
namespace {

constexpr DWORD kOutputDeadlineMs = 2000;
constexpr DWORD kDriverQueueBytes = 4096;
// Enough chunks for any reply and then some, so a line that never stops talking cannot hold a
// count or a read for ever.
constexpr int kMaxPullsPerRead = 256;

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    if (message.empty()) message = "system error " + std::to_string(code);
    return message;
}

// Windows reports a port that another program holds as "access denied"; it has no per-user
// rights on serial ports that a technician could be told to ask for, so that is the port in use.
std::string OpenFailure(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DEV_NOT_EXIST:
            return NotFoundReason();
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return BusyReason();
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_ACCESS_DISABLED_BY_POLICY:
            return PlainDeniedReason();
        case ERROR_NOT_READY:
        case ERROR_GEN_FAILURE:
            return NoHardwareReason();
        default:
            return OtherOpenFailureReason(SystemMessage(code));
    }
}

std::string FullDeviceName(const std::string& device) {
    if (device.rfind("\\\\", 0) == 0) return device;
    return "\\\\.\\" + device;
}

BYTE Win32Parity(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return EVENPARITY;
        case Parity::Odd:
            return ODDPARITY;
        case Parity::Mark:
            return MARKPARITY;
        case Parity::Space:
            return SPACEPARITY;
        case Parity::None:
            break;
    }
    return NOPARITY;
}

BYTE Win32StopBits(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OneAndHalf:
            return ONE5STOPBITS;
        case StopBits::Two:
            return TWOSTOPBITS;
        case StopBits::One:
            break;
    }
    return ONESTOPBIT;
}

// Failures of a modem-line request that mean the device has gone; any other refusal is a device
// without modem lines.
bool DeviceGone(DWORD code) {
    return code == ERROR_INVALID_HANDLE || code == ERROR_DEVICE_REMOVED ||
           code == ERROR_OPERATION_ABORTED || code == ERROR_FILE_NOT_FOUND;
}

}  // namespace

struct Win32SerialControl::Impl {
    enum class ReadMode { None, Immediate, Wait };

    std::string chosen;
    std::string settingsText = "9600,n,8,1";
    SerialSettings settings;
    bool rts = false;
    bool dtr = false;
    HANDLE port = INVALID_HANDLE_VALUE;
    ReadMode mode = ReadMode::None;
    DWORD waitMs = 0;
    std::string held;  // characters read from the driver, not yet taken

    bool isOpen() const { return port != INVALID_HANDLE_VALUE; }
    std::string deviceName() const { return chosen.empty() ? "the serial port" : chosen; }

    bool apply(const SerialSettings& s) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(port, &dcb)) return false;
        dcb.BaudRate = static_cast<DWORD>(s.baud);
        dcb.ByteSize = static_cast<BYTE>(s.dataBits);
        dcb.Parity = Win32Parity(s.parity);
        dcb.StopBits = Win32StopBits(s.stopBits);
        dcb.fBinary = TRUE;
        dcb.fParity = s.parity == Parity::None ? FALSE : TRUE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
        dcb.fRtsControl = rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        return SetCommState(port, &dcb) != 0;
    }

    void close() {
        if (isOpen()) {
            PurgeComm(port, PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
            CloseHandle(port);
        }
        port = INVALID_HANDLE_VALUE;
        mode = ReadMode::None;
        held.clear();
    }

    void requireOpen() const {
        if (!isOpen()) throw PortError(deviceName(), NotOpenReason());
    }

    [[noreturn]] void loseLine() {
        close();
        throw PortError(deviceName(), LostLineReason());
    }

    void setReadMode(ReadMode wanted, DWORD ms) {
        if (mode == wanted && (wanted != ReadMode::Wait || waitMs == ms)) return;
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = MAXDWORD;
        if (wanted == ReadMode::Wait) {
            // With both of these at their maximum, a read returns as soon as one character is
            // there, or empty once the constant has passed.
            t.ReadTotalTimeoutMultiplier = MAXDWORD;
            t.ReadTotalTimeoutConstant = ms;
        }
        t.WriteTotalTimeoutConstant = kOutputDeadlineMs;
        if (!SetCommTimeouts(port, &t)) loseLine();
        mode = wanted;
        waitMs = ms;
    }

    // One read from the driver into held; the count of characters it brought.
    DWORD readOnce() {
        char buffer[512];
        DWORD got = 0;
        if (!ReadFile(port, buffer, sizeof buffer, &got, nullptr)) loseLine();
        held.append(buffer, got);
        return got;
    }

    // Moves what the driver holds into held.
    void pull() {
        requireOpen();
        setReadMode(ReadMode::Immediate, 0);
        for (int i = 0; i < kMaxPullsPerRead; ++i) {
            DWORD errors = 0;
            COMSTAT status{};
            if (!ClearCommError(port, &errors, &status)) loseLine();
            if (status.cbInQue == 0) return;
            if (readOnce() == 0) return;
        }
    }

    void setLine(DWORD raise, DWORD lower, bool on) {
        requireOpen();
        if (EscapeCommFunction(port, on ? raise : lower)) return;
        if (DeviceGone(GetLastError())) loseLine();
    }
};

Win32SerialControl::Win32SerialControl() : impl_(std::make_unique<Impl>()) {
    impl_->settings = *ParseSerialSettings(impl_->settingsText);
}

Win32SerialControl::~Win32SerialControl() {
    impl_->close();
}

void Win32SerialControl::setDevice(const std::string& device) {
    if (impl_->isOpen() && device != impl_->chosen)
        throw PortError(impl_->deviceName(), PortOpenChangeReason());
    impl_->chosen = device;
}

std::string Win32SerialControl::device() const {
    return impl_->chosen;
}

void Win32SerialControl::setSettings(const std::string& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (!parsed) throw PortError(impl_->deviceName(), MalformedSettingsReason(settings));
    if (impl_->isOpen() && !impl_->apply(*parsed)) {
        impl_->apply(impl_->settings);
        throw PortError(impl_->deviceName(), RefusedSettingsReason(settings));
    }
    impl_->settings = *parsed;
    impl_->settingsText = settings;
}

std::string Win32SerialControl::Settings() const {
    return impl_->settingsText;
}

void Win32SerialControl::setPortOpen(bool open) {
    if (!open) {
        impl_->close();
        return;
    }
    if (impl_->isOpen()) return;
    const std::string& device = impl_->chosen;
    if (device.empty()) throw PortError(impl_->deviceName(), NoDeviceReason());

    const HANDLE port = CreateFileA(FullDeviceName(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) throw PortError(device, OpenFailure(GetLastError()));
    impl_->port = port;
    if (GetFileType(port) != FILE_TYPE_CHAR || !impl_->apply(impl_->settings)) {
        const DWORD code = GetLastError();
        impl_->close();
        throw PortError(device, UnsupportedReason() + " (" + SystemMessage(code) + ")");
    }
    SetupComm(port, kDriverQueueBytes, kDriverQueueBytes);
    // Characters left over from before the port was opened belong to nobody.
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    impl_->setReadMode(Impl::ReadMode::Immediate, 0);
    if (impl_->rts) impl_->setLine(SETRTS, CLRRTS, true);
    if (impl_->dtr) impl_->setLine(SETDTR, CLRDTR, true);
}

bool Win32SerialControl::PortOpen() const {
    return impl_->isOpen();
}

void Win32SerialControl::setRTSEnable(bool on) {
    impl_->rts = on;
    if (impl_->isOpen()) impl_->setLine(SETRTS, CLRRTS, on);
}

void Win32SerialControl::setDTREnable(bool on) {
    impl_->dtr = on;
    if (impl_->isOpen()) impl_->setLine(SETDTR, CLRDTR, on);
}

void Win32SerialControl::Output(const std::string& text) {
    impl_->requireOpen();
    size_t sent = 0;
    while (sent < text.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - sent, 65536));
        if (!WriteFile(impl_->port, text.data() + sent, chunk, &wrote, nullptr)) impl_->loseLine();
        if (wrote == 0) {
            // The write time-out passed without the driver taking a character.
            impl_->close();
            throw PortError(impl_->deviceName(),
                            OutputStuckReason(static_cast<int>(kOutputDeadlineMs)));
        }
        sent += wrote;
    }
}

std::string Win32SerialControl::Input() {
    impl_->pull();
    std::string taken;
    taken.swap(impl_->held);
    return taken;
}

int16_t Win32SerialControl::InBufferCount() {
    impl_->pull();
    return static_cast<int16_t>(
        std::min<size_t>(impl_->held.size(), std::numeric_limits<int16_t>::max()));
}

void Win32SerialControl::waitForInput(int milliseconds) {
    impl_->requireOpen();
    if (milliseconds <= 0) {
        impl_->pull();
        return;
    }
    impl_->setReadMode(Impl::ReadMode::Wait, static_cast<DWORD>(milliseconds));
    impl_->readOnce();
}

}  // namespace corvane
