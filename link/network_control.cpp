// The serial control over a TCP connection to a device server, driven without an event loop.
//
// As with the serial port, bytes move only inside the socket's wait calls: counting and reading
// first pull what the system holds with a zero-length wait. A failed wait with the socket no
// longer connected means the server has gone. Over RFC 2217 everything that arrives passes the
// telnet decoder, so the link sees only the line's own bytes.
#include "link/network_control.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "link/network_ports.h"
#include "link/port_error.h"
#include "link/port_reasons.h"
#include "link/quick_ack.h"
#include "link/serial_settings.h"
#include "link/telnet.h"

namespace corvane {
namespace {

constexpr int kOutputDeadlineMs = 2000;
constexpr int kMaxPullsPerRead = 256;

int Remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
}

// The host's addresses, looked up on a thread of its own so that a slow name server cannot hold
// the tool past the deadline; nullopt when the deadline passed first.
std::optional<QList<QHostAddress>> Addresses(const std::string& host,
                                             const QDeadlineTimer& deadline) {
    const QString name = QString::fromStdString(host);
    QHostAddress literal;
    if (literal.setAddress(name)) return QList<QHostAddress>{literal};
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<QList<QHostAddress>> found;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, name] {
        const QHostInfo info = QHostInfo::fromName(name);
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->found =
            info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>{};
        lookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    lookup->done.wait_for(lock, std::chrono::milliseconds(Remaining(deadline)),
                          [&] { return lookup->found.has_value(); });
    return lookup->found;
}

std::string ParityWord(uint8_t code) {
    switch (code) {
        case 1:
            return "no parity";
        case 2:
            return "odd parity";
        case 3:
            return "even parity";
        case 4:
            return "mark parity";
        case 5:
            return "space parity";
    }
    return "parity " + std::to_string(code);
}

std::string StopWord(uint8_t code) {
    switch (code) {
        case 1:
            return "1";
        case 2:
            return "2";
        case 3:
            return "1.5";
    }
    return "code " + std::to_string(code);
}

// A setting's name and its value as a technician reads it, for an answer that differs.
std::pair<std::string, std::string> Described(uint8_t code, const std::string& value) {
    const auto byte = [&](size_t i) {
        return i < value.size() ? static_cast<uint8_t>(value[i]) : uint8_t{0};
    };
    switch (code) {
        case telnet::kSetBaudRate: {
            const uint32_t baud = (uint32_t{byte(0)} << 24) | (uint32_t{byte(1)} << 16) |
                                  (uint32_t{byte(2)} << 8) | byte(3);
            return {"baud rate", std::to_string(baud)};
        }
        case telnet::kSetDataSize:
            return {"data bits", std::to_string(byte(0))};
        case telnet::kSetParity:
            return {"parity", ParityWord(byte(0))};
        case telnet::kSetStopSize:
            return {"stop bits", StopWord(byte(0))};
        default:
            return {"flow control", byte(0) == telnet::kNoFlowControl
                                        ? std::string("none")
                                        : "code " + std::to_string(byte(0))};
    }
}

}  // namespace

struct NetworkControl::Impl {
    std::string chosen;
    std::optional<NetworkPortName> name;
    std::string settingsText = "9600,n,8,1";
    SerialSettings settings;
    bool rts = false;
    bool dtr = false;
    std::unique_ptr<QTcpSocket> socket;
    telnet::Decoder decoder;
    std::string data;  // the line's bytes received and not yet read
    enum class ComPort { Asked, Accepted, Refused } comPort = ComPort::Asked;
    bool settingUp = false;  // the server's answers to the line settings are awaited

    std::string deviceName() const { return chosen.empty() ? "the network port" : chosen; }
    bool telnet() const { return name && name->protocol == NetworkProtocol::Rfc2217; }

    void close() {
        if (socket) socket->abort();
        socket.reset();
        data.clear();
        decoder = telnet::Decoder{};
        comPort = ComPort::Asked;
        settingUp = false;
    }

    [[noreturn]] void fail(const std::string& reason) {
        close();
        throw PortError(deviceName(), reason);
    }

    QTcpSocket& requireOpen() {
        if (!socket) throw PortError(deviceName(), NotOpenReason());
        return *socket;
    }

    void send(const std::string& bytes) {
        QTcpSocket& s = requireOpen();
        const QByteArray out(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (s.write(out) != out.size()) fail(ServerClosedReason());
        const QDeadlineTimer deadline(kOutputDeadlineMs);
        while (s.bytesToWrite() > 0) {
            if (deadline.hasExpired()) fail(OutputStuckReason(kOutputDeadlineMs));
            if (!s.waitForBytesWritten(Remaining(deadline)) &&
                s.state() != QAbstractSocket::ConnectedState)
                fail(ServerClosedReason());
        }
    }

    // Acknowledges what arrived at once. A device server that leaves Nagle's algorithm on holds
    // the rest of a reply until the first part is acknowledged, and the system would otherwise
    // delay that by up to 40 ms: about two seconds over a Get.
    void acknowledgeAtOnce() { AcknowledgeAtOnce(socket->socketDescriptor()); }

    // Takes in what the socket holds: the line's bytes into data, and the server's requests
    // answered (an option the tool did not ask for is declined).
    void take() {
        const QByteArray bytes = socket->readAll();
        acknowledgeAtOnce();
        if (!telnet()) {
            data.append(bytes.constData(), static_cast<size_t>(bytes.size()));
            return;
        }
        decoder.feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &data);
        std::string replies;
        for (const auto& n : decoder.negotiations) {
            if (n.option == telnet::kComPort) {
                comPort = n.verb == telnet::kDo ? ComPort::Accepted : ComPort::Refused;
                continue;
            }
            if (n.option == telnet::kBinary || n.option == telnet::kSuppressGoAhead) continue;
            if (n.verb == telnet::kDo) replies += telnet::Command(telnet::kWont, n.option);
            if (n.verb == telnet::kWill) replies += telnet::Command(telnet::kDont, n.option);
        }
        decoder.negotiations.clear();
        // Outside the line's set-up, the server's answers and notifications carry nothing needed.
        if (!settingUp) decoder.subnegotiations.clear();
        if (!replies.empty()) send(replies);
    }

    // Waits up to ms for more to arrive and takes it in; false when nothing came.
    bool receive(int ms) {
        QTcpSocket& s = requireOpen();
        if (s.bytesAvailable() == 0 && !s.waitForReadyRead(ms)) {
            if (s.state() != QAbstractSocket::ConnectedState) fail(ServerClosedReason());
            return false;
        }
        take();
        return true;
    }

    void pull() {
        requireOpen();
        for (int i = 0; i < kMaxPullsPerRead && receive(0); ++i) {
        }
    }

    void connect() {
        const NetworkPortName& where = *name;
        const QDeadlineTimer deadline(kNetworkConnectMs);
        const auto addresses = Addresses(where.host, deadline);
        if (!addresses) fail(ConnectTimeoutReason(where.hostAndPort(), kNetworkConnectMs));
        if (addresses->isEmpty()) fail(NoSuchHostReason(where.host));
        std::string reason;
        for (const QHostAddress& address : *addresses) {
            auto s = std::make_unique<QTcpSocket>();
            s->connectToHost(address, where.port);
            if (s->waitForConnected(Remaining(deadline))) {
                s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                socket = std::move(s);
                acknowledgeAtOnce();
                break;
            }
            switch (s->error()) {
                case QAbstractSocket::ConnectionRefusedError:
                    reason = ConnectionRefusedReason(where.hostAndPort());
                    break;
                case QAbstractSocket::NetworkError:
                    reason = NoRouteReason(where.host);
                    break;
                case QAbstractSocket::SocketTimeoutError:
                    reason = ConnectTimeoutReason(where.hostAndPort(), kNetworkConnectMs);
                    break;
                default:
                    reason =
                        NetworkFailureReason(where.hostAndPort(), s->errorString().toStdString());
            }
            if (deadline.hasExpired()) break;
        }
        if (!socket) fail(reason);
        if (telnet()) setUpLine(deadline);
    }

    // Binary both ways, no go-ahead, and the COM-PORT-OPTION, which the server must take.
    void negotiate(const QDeadlineTimer& deadline) {
        using namespace telnet;
        send(Command(kWill, kBinary) + Command(kDo, kBinary) + Command(kWill, kSuppressGoAhead) +
             Command(kDo, kSuppressGoAhead) + Command(kWill, kComPort));
        while (comPort != ComPort::Accepted) {
            if (comPort == ComPort::Refused) fail(ComPortRefusedReason());
            if (deadline.hasExpired()) fail(ComPortSilentReason(kNetworkConnectMs));
            receive(Remaining(deadline));
        }
    }

    void setUpLine(const QDeadlineTimer& deadline) {
        negotiate(deadline);
        sendLineSettings(deadline);
    }

    // Sets the line and empties the server's buffers, each answer checked against the request.
    void sendLineSettings(const QDeadlineTimer& deadline) {
        using namespace telnet;
        settingUp = true;
        decoder.subnegotiations.clear();
        const std::vector<LineRequest> requests = LineRequests(settings);
        std::string out;
        for (const LineRequest& r : requests) out += ComPortRequest(r.code, r.value);
        out += ComPortRequest(kPurgeData, std::string(1, static_cast<char>(kPurgeBoth)));
        send(out);
        std::vector<bool> answered(requests.size() + 1, false);
        for (;;) {
            for (const auto& sub : decoder.subnegotiations) {
                if (sub.option != kComPort || sub.body.empty()) continue;
                const auto code = static_cast<uint8_t>(sub.body.front());
                const std::string value = sub.body.substr(1);
                if (code == kServerAnswer + kPurgeData) answered.back() = true;
                for (size_t i = 0; i < requests.size(); ++i) {
                    if (code != kServerAnswer + requests[i].code) continue;
                    if (value != requests[i].value) {
                        const auto asked = Described(requests[i].code, requests[i].value);
                        fail(LineSettingRefusedReason(asked.first, asked.second,
                                                      Described(requests[i].code, value).second));
                    }
                    answered[i] = true;
                }
            }
            decoder.subnegotiations.clear();
            if (std::all_of(answered.begin(), answered.end(), [](bool a) { return a; })) break;
            if (deadline.hasExpired()) fail(ComPortSilentReason(kNetworkConnectMs));
            receive(Remaining(deadline));
        }
        settingUp = false;
        // Whatever came before the purge is not the controller's answer to anything of ours.
        data.clear();
    }

    void setControl(bool on, uint8_t code) {
        if (!on || !telnet() || !socket) return;
        send(telnet::ComPortRequest(telnet::kSetControl, std::string(1, static_cast<char>(code))));
    }
};

NetworkControl::NetworkControl() : impl_(std::make_unique<Impl>()) {
    impl_->settings = *ParseSerialSettings(impl_->settingsText);
}

NetworkControl::~NetworkControl() {
    impl_->close();
}

void NetworkControl::setDevice(const std::string& device) {
    if (impl_->socket && device != impl_->chosen)
        throw PortError(impl_->deviceName(), PortOpenChangeReason());
    std::string problem;
    auto parsed = ParseNetworkPortName(device, &problem);
    if (!parsed) throw PortError(device, MalformedNetworkNameReason(problem));
    impl_->chosen = device;
    impl_->name = std::move(parsed);
}

std::string NetworkControl::device() const {
    return impl_->chosen;
}

void NetworkControl::setSettings(const std::string& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (!parsed) throw PortError(impl_->deviceName(), MalformedSettingsReason(settings));
    const SerialSettings before = impl_->settings;
    impl_->settings = *parsed;
    if (impl_->socket && impl_->telnet()) {
        try {
            impl_->sendLineSettings(QDeadlineTimer(kNetworkConnectMs));
        } catch (const PortError&) {
            impl_->settings = before;
            throw;
        }
    }
    impl_->settingsText = settings;
}

std::string NetworkControl::Settings() const {
    return impl_->settingsText;
}

void NetworkControl::setPortOpen(bool open) {
    if (!open) {
        impl_->close();
        return;
    }
    if (impl_->socket) return;
    if (!impl_->name) throw PortError(impl_->deviceName(), NoDeviceReason());
    impl_->connect();
    impl_->setControl(impl_->dtr, telnet::kDtrOn);
    impl_->setControl(impl_->rts, telnet::kRtsOn);
}

bool NetworkControl::PortOpen() const {
    return impl_->socket != nullptr;
}

// A device server's modem lines are its own business over raw TCP; over RFC 2217 they are raised
// as on a serial port, and lowering them is left to the server when the connection ends.
void NetworkControl::setRTSEnable(bool on) {
    impl_->rts = on;
    impl_->setControl(on, telnet::kRtsOn);
}

void NetworkControl::setDTREnable(bool on) {
    impl_->dtr = on;
    impl_->setControl(on, telnet::kDtrOn);
}

void NetworkControl::Output(const std::string& text) {
    impl_->send(impl_->telnet() ? telnet::EscapeData(text) : text);
}

std::string NetworkControl::Input() {
    impl_->pull();
    return std::exchange(impl_->data, std::string());
}

int16_t NetworkControl::InBufferCount() {
    impl_->pull();
    return static_cast<int16_t>(
        std::min<size_t>(impl_->data.size(), std::numeric_limits<int16_t>::max()));
}

void NetworkControl::waitForInput(int milliseconds) {
    impl_->requireOpen();
    if (milliseconds <= 0) {
        impl_->pull();
        return;
    }
    impl_->receive(milliseconds);
}

}  // namespace corvane
