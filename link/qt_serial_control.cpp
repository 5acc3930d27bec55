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
    return serial.handle();
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
    explicit Impl(LowLatency latency) : lowLatency(std::move(latency)) {}

    std::string chosen;  // the device set; the open port's while it is open
    std::string settingsText = "9600,n,8,1";
    SerialSettings settings;
    bool rts = false;
    bool dtr = false;
    std::unique_ptr<QSerialPort> serial;
    LowLatency lowLatency;

    std::string deviceName() const { return chosen.empty() ? "the serial port" : chosen; }

    // True when the port took every setting (always, before it is opened).
    static bool apply(QSerialPort& s, const SerialSettings& settings) {
        bool took = s.setBaudRate(settings.baud);
        took = s.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) && took;
        took = s.setParity(QtParity(settings.parity)) && took;
        took = s.setStopBits(QtStopBits(settings.stopBits)) && took;
        took = s.setFlowControl(QSerialPort::NoFlowControl) && took;
        return took;
    }

    void close() {
        if (serial) {
            if (serial->isOpen()) lowLatency.restore(Descriptor(*serial));
            serial->close();
        }
        serial.reset();
    }

    QSerialPort& requireOpen() {
        if (!serial) throw PortError(deviceName(), NotOpenReason());
        serial->clearError();
        return *serial;
    }

    [[noreturn]] void loseLine() {
        close();
        throw PortError(deviceName(), LostLineReason());
    }

    // Takes a failed wait: true for a time-out; anything else loses the line.
    bool timedOut(QSerialPort& s) {
        if (s.error() == QSerialPort::TimeoutError) return true;
        loseLine();
    }

    // Moves what the kernel holds into the port's buffer.
    void pull() {
        QSerialPort& s = requireOpen();
        for (int i = 0; i < kMaxPullsPerRead; ++i) {
            s.clearError();
            if (s.waitForReadyRead(0)) continue;
            if (timedOut(s)) return;
        }
    }

    // Modem lines: a device without them (a pseudo-terminal) refuses, and that is fine; a device
    // that has gone is not.
    void setLine(bool (QSerialPort::*set)(bool), bool on) {
        QSerialPort& s = requireOpen();
        if ((s.*set)(on)) return;
        const auto error = s.error();
        if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError)
            loseLine();
    }
};

QtSerialControl::QtSerialControl(LowLatency lowLatency)
    : impl_(std::make_unique<Impl>(std::move(lowLatency))) {
    impl_->settings = *ParseSerialSettings(impl_->settingsText);
}

QtSerialControl::~QtSerialControl() {
    impl_->close();
}

void QtSerialControl::setDevice(const std::string& device) {
    if (impl_->serial && device != impl_->chosen)
        throw PortError(impl_->deviceName(), PortOpenChangeReason());
    impl_->chosen = device;
}

std::string QtSerialControl::device() const {
    return impl_->chosen;
}

void QtSerialControl::setSettings(const std::string& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (!parsed) throw PortError(impl_->deviceName(), MalformedSettingsReason(settings));
    if (impl_->serial) {
        QSerialPort& s = impl_->requireOpen();
        if (!Impl::apply(s, *parsed)) {
            Impl::apply(s, impl_->settings);
            throw PortError(impl_->deviceName(), RefusedSettingsReason(settings));
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
        impl_->close();
        return;
    }
    if (impl_->serial) return;
    const std::string& device = impl_->chosen;
    if (device.empty()) throw PortError(impl_->deviceName(), NoDeviceReason());

    // Opened by path: the system's port list does not include pseudo-terminals.
    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(QString::fromStdString(device));
    Impl::apply(*serial, impl_->settings);
    if (!serial->open(QIODevice::ReadWrite))
        throw PortError(device, OpenFailureReason(device, FaultOf(serial->error()),
                                                  serial->errorString().toStdString()));
    // A device that refuses low latency (a pseudo-terminal) works as it is.
    impl_->lowLatency.request(Descriptor(*serial));
    impl_->serial = std::move(serial);
    if (impl_->rts) impl_->setLine(&QSerialPort::setRequestToSend, true);
    if (impl_->dtr) impl_->setLine(&QSerialPort::setDataTerminalReady, true);
}

bool QtSerialControl::PortOpen() const {
    return impl_->serial != nullptr;
}

void QtSerialControl::setRTSEnable(bool on) {
    impl_->rts = on;
    if (impl_->serial) impl_->setLine(&QSerialPort::setRequestToSend, on);
}

void QtSerialControl::setDTREnable(bool on) {
    impl_->dtr = on;
    if (impl_->serial) impl_->setLine(&QSerialPort::setDataTerminalReady, on);
}

void QtSerialControl::Output(const std::string& text) {
    QSerialPort& s = impl_->requireOpen();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (s.write(bytes) != bytes.size()) impl_->loseLine();
    const QDeadlineTimer deadline(kOutputDeadlineMs);
    while (s.bytesToWrite() > 0) {
        if (deadline.hasExpired()) {
            impl_->close();
            throw PortError(impl_->deviceName(), OutputStuckReason(kOutputDeadlineMs));
        }
        s.clearError();
        const int left = static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
        if (!s.waitForBytesWritten(left)) impl_->timedOut(s);
    }
}

std::string QtSerialControl::Input() {
    impl_->pull();
    const QByteArray bytes = impl_->serial->readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int16_t QtSerialControl::InBufferCount() {
    impl_->pull();
    const qint64 waiting = impl_->serial->bytesAvailable();
    return static_cast<int16_t>(std::min<qint64>(waiting, std::numeric_limits<int16_t>::max()));
}

void QtSerialControl::waitForInput(int milliseconds) {
    QSerialPort& s = impl_->requireOpen();
    if (milliseconds <= 0) {
        impl_->pull();
        return;
    }
    if (!s.waitForReadyRead(milliseconds)) impl_->timedOut(s);
}

}  // namespace corvane
