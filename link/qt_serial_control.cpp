// The serial control on QSerialPort, driven without an event loop.
//
// Without an event loop QSerialPort moves bytes only inside its wait calls, so counting and
// reading first pull what the kernel holds with a zero-length wait, and waiting blocks in
// waitForReadyRead. A failed wait that is not a time-out means the line is gone (on hang-up the
// wait returns at once with a stale error code), so the port is closed and the loss reported.
#include "link/qt_serial_control.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <algorithm>
#include <limits>

#include "link/low_latency.h"
#include "link/port_error.h"
#include "link/port_reasons.h"
#include "link/serial_settings.h"

namespace corvane {
namespace {

constexpr int kOutputDeadlineMs = 2000;
// Each pull takes one chunk from the kernel; enough chunks for any reply and then some, so a line
// that never stops talking cannot hold a count or a read for ever.
constexpr int kMaxPullsPerRead = 256;

QSerialPort::Parity QtParity(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return QSerialPort::EvenParity;
        case Parity::Odd:
            return QSerialPort::OddParity;
        case Parity::Mark:
            return QSerialPort::MarkParity;
        case Parity::Space:
            return QSerialPort::SpaceParity;
        case Parity::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits QtStopBits(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case StopBits::Two:
            return QSerialPort::TwoStop;
        case StopBits::One:
            break;
    }
    return QSerialPort::OneStop;
}

// The open device's descriptor, for the driver requests QSerialPort does not make itself.
int Descriptor(QSerialPort& serial) {
#ifdef Q_OS_UNIX
    return serial.handle();
#else
    (void)serial;
    return -1;
#endif
}

OpenFault FaultOf(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return OpenFault::NotFound;
        case QSerialPort::PermissionError:
            return OpenFault::Denied;
        case QSerialPort::UnsupportedOperationError:
            return OpenFault::Unsupported;
        default:
            return OpenFault::Other;
    }
}

}  // namespace

struct QtSerialControl::Impl {
    Impl(const PortNames& names, LowLatency latency)
        : ports(names), lowLatency(std::move(latency)) {}

    const PortNames& ports;
    int16_t port = 1;
    std::string settingsText = "9600,n,8,1";
    SerialSettings settings;
    bool rts = false;
    bool dtr = false;
    std::string device;  // of the open port
    std::unique_ptr<QSerialPort> serial;
    LowLatency lowLatency;

    std::string DeviceName() const {
        const std::string name = ports.deviceFor(port);
        return name.empty() ? "port " + std::to_string(port) : name;
    }

    // True when the port took every setting (always, before it is opened).
    static bool Apply(QSerialPort& s, const SerialSettings& settings) {
        bool took = s.setBaudRate(settings.baud);
        took = s.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) && took;
        took = s.setParity(QtParity(settings.parity)) && took;
        took = s.setStopBits(QtStopBits(settings.stopBits)) && took;
        took = s.setFlowControl(QSerialPort::NoFlowControl) && took;
        return took;
    }

    void Close() {
        if (serial) {
            if (serial->isOpen()) lowLatency.restore(Descriptor(*serial));
            serial->close();
        }
        serial.reset();
    }

    QSerialPort& RequireOpen() {
        if (!serial) throw PortError(DeviceName(), NotOpenReason());
        serial->clearError();
        return *serial;
    }

    [[noreturn]] void LoseLine() {
        const std::string lost = device;
        Close();
        throw PortError(lost, LostLineReason());
    }

    // Takes a failed wait: true for a time-out; anything else loses the line.
    bool TimedOut(QSerialPort& s) {
        if (s.error() == QSerialPort::TimeoutError) return true;
        LoseLine();
    }

    // Moves what the kernel holds into the port's buffer.
    void Pull() {
        QSerialPort& s = RequireOpen();
        for (int i = 0; i < kMaxPullsPerRead; ++i) {
            s.clearError();
            if (s.waitForReadyRead(0)) continue;
            if (TimedOut(s)) return;
        }
    }

    // Modem lines: a device without them (a pseudo-terminal) refuses, and that is fine; a device
    // that has gone is not.
    void SetLine(bool (QSerialPort::*set)(bool), bool on) {
        QSerialPort& s = RequireOpen();
        if ((s.*set)(on)) return;
        const auto error = s.error();
        if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError)
            LoseLine();
    }
};

QtSerialControl::QtSerialControl(const PortNames& ports, LowLatency lowLatency)
    : impl_(std::make_unique<Impl>(ports, std::move(lowLatency))) {
    impl_->settings = *ParseSerialSettings(impl_->settingsText);
}

QtSerialControl::~QtSerialControl() {
    impl_->Close();
}

void QtSerialControl::setCommPort(int16_t port) {
    if (impl_->serial && port != impl_->port)
        throw PortError(impl_->DeviceName(), PortOpenChangeReason());
    impl_->port = port;
}

int16_t QtSerialControl::CommPort() const {
    return impl_->port;
}

void QtSerialControl::setSettings(const std::string& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (!parsed) throw PortError(impl_->DeviceName(), MalformedSettingsReason(settings));
    if (impl_->serial) {
        QSerialPort& s = impl_->RequireOpen();
        if (!Impl::Apply(s, *parsed)) {
            Impl::Apply(s, impl_->settings);
            throw PortError(impl_->device, RefusedSettingsReason(settings));
        }
    }
    impl_->settings = *parsed;
    impl_->settingsText = settings;
}

std::string QtSerialControl::Settings() const {
    return impl_->settingsText;
}

void QtSerialControl::setPortOpen(bool open) {
    if (!open) {
        impl_->Close();
        return;
    }
    if (impl_->serial) return;
    const std::string device = impl_->ports.deviceFor(impl_->port);
    if (device.empty()) throw PortError(impl_->DeviceName(), NoDeviceForPortReason());

    // Opened by path: the system's port list does not include pseudo-terminals.
    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(QString::fromStdString(device));
    Impl::Apply(*serial, impl_->settings);
    if (!serial->open(QIODevice::ReadWrite))
        throw PortError(device, OpenFailureReason(device, FaultOf(serial->error()),
                                                  serial->errorString().toStdString()));
    // A device that refuses low latency (a pseudo-terminal) works as it is.
    impl_->lowLatency.request(Descriptor(*serial));
    impl_->serial = std::move(serial);
    impl_->device = device;
    if (impl_->rts) impl_->SetLine(&QSerialPort::setRequestToSend, true);
    if (impl_->dtr) impl_->SetLine(&QSerialPort::setDataTerminalReady, true);
}

bool QtSerialControl::PortOpen() const {
    return impl_->serial != nullptr;
}

void QtSerialControl::setRTSEnable(bool on) {
    impl_->rts = on;
    if (impl_->serial) impl_->SetLine(&QSerialPort::setRequestToSend, on);
}

void QtSerialControl::setDTREnable(bool on) {
    impl_->dtr = on;
    if (impl_->serial) impl_->SetLine(&QSerialPort::setDataTerminalReady, on);
}

void QtSerialControl::Output(const std::string& text) {
    QSerialPort& s = impl_->RequireOpen();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (s.write(bytes) != bytes.size()) impl_->LoseLine();
    const QDeadlineTimer deadline(kOutputDeadlineMs);
    while (s.bytesToWrite() > 0) {
        if (deadline.hasExpired()) {
            const std::string device = impl_->device;
            impl_->Close();
            throw PortError(device, OutputStuckReason(kOutputDeadlineMs));
        }
        s.clearError();
        const int left = static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
        if (!s.waitForBytesWritten(left)) impl_->TimedOut(s);
    }
}

std::string QtSerialControl::Input() {
    impl_->Pull();
    const QByteArray bytes = impl_->serial->readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int16_t QtSerialControl::InBufferCount() {
    impl_->Pull();
    const qint64 waiting = impl_->serial->bytesAvailable();
    return static_cast<int16_t>(std::min<qint64>(waiting, std::numeric_limits<int16_t>::max()));
}

void QtSerialControl::WaitForInput(int milliseconds) {
    QSerialPort& s = impl_->RequireOpen();
    if (milliseconds <= 0) {
        impl_->Pull();
        return;
    }
    if (!s.waitForReadyRead(milliseconds)) impl_->TimedOut(s);
}

}  // namespace corvane
