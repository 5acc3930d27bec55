// Get and Send through ser2net on loopback in front of the paced simulated controller, over
// RFC 2217 and raw TCP, with ser2net's character delay on (its default) and off. Beside them, a
// minimal loop sends the same 64 reads through the same server and waits for each reply: what
// the server itself costs, which the tool should add next to nothing to (the tool is set against
// the loop that acknowledges each read at once, as the tool does). Last, a search of 254
// nodes through the server.
#include "bench/network_figures.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QTcpSocket>
#include <chrono>
#include <cstdio>

#include "connection/controller_connection.h"
#include "link/frame.h"
#include "sim/demo_show.h"
#include "sim/device_server.h"
#include "sim/pty_server.h"
#include "transfer/scene_transfer.h"

namespace corvane::bench {
namespace {

using sim::Ser2net;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The 64 block reads, each written when the last reply is whole, over a bare TCP connection;
// with quickAck, each read acknowledged at once, as the tool does.
double MinimalLoop(uint16_t port, bool quickAck) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000)) return -1;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QThread::msleep(200);  // the server opens its device
    const auto t0 = Clock::now();
    for (int block = 0; block < kSceneCount; ++block) {
        socket.write(QByteArray::fromStdString(BuildRequestFrame(1, ReadBlockCommand(block))));
        socket.waitForBytesWritten(1000);
        qint64 got = 0;
        while (got < kReadReplyLength) {
            if (!socket.bytesAvailable() && !socket.waitForReadyRead(1000)) return -1;
            got += socket.readAll().size();
            const int on = 1;
            if (quickAck)
                ::setsockopt(static_cast<int>(socket.socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK,
                             &on, sizeof on);
        }
    }
    return Seconds(t0);
}

struct Timed {
    double seconds = 0;
    bool ok = false;
};

Timed Transfer(const std::string& name, bool get) {
    std::string error;
    const auto connection = ConnectNamed(name, 1, &error);
    if (!connection) return {};
    SceneTable scenes = DemoShow();
    const auto t0 = Clock::now();
    const bool ok =
        get ? connection->getScenes(scenes, {}).ok() : connection->sendScenes(scenes, {}).ok();
    return {Seconds(t0), ok};
}

}  // namespace

void PrintNetworkFigures() {
    if (Ser2net::Program().isEmpty()) {
        std::printf(
            "\nThrough a device server: ser2net is not installed (apt-get install ser2net)\n");
        return;
    }
    const double getWire = 64.0 * (15 + 132) * sim::kBitsPerCharacter / sim::kLineBaud;
    const double sendWire = 64.0 * (143 + 6) * sim::kBitsPerCharacter / sim::kLineBaud;
    std::printf(
        "\nThrough ser2net on loopback, paced 38400 (wire floor: get %.3f s, send %.3f s)\n",
        getWire, sendWire);
    // Each figure on a fresh line and server: ser2net lets a second port of the same device
    // open it only once the first has let go of it.
    struct Served {
        sim::PtyServer line{[] {
                                sim::ControllerEngine engine;
                                engine.setMemory(sim::DemoMemory());
                                return engine;
                            }(),
                            sim::PtyServerOptions{true, {}}};
        Ser2net server;
        explicit Served(bool chardelay)
            : server(QString::fromStdString(line.devicePath()), chardelay) {}
    };
    for (const bool chardelay : {true, false}) {
        const char* delay = chardelay ? "chardelay on" : "chardelay off";
        double loop = 0;
        for (const bool quickAck : {false, true}) {
            loop = MinimalLoop(Served(chardelay).server.tcpPort(), quickAck);
            std::printf("%-44s      wall %7.3f s  ratio to wire %5.3f\n",
                        ((quickAck ? "minimal loop, acks at once, tcp, " : "minimal loop, tcp, ") +
                         std::string(delay))
                            .c_str(),
                        loop, loop / getWire);
        }
        for (const bool rfc2217 : {true, false}) {
            for (const bool get : {true, false}) {
                const Served served(chardelay);
                const QString uri = rfc2217 ? served.server.rfc2217() : served.server.tcp();
                const Timed t = Transfer(uri.toStdString(), get);
                const double wire = get ? getWire : sendWire;
                std::printf("%-44s %-4s wall %7.3f s  ratio to wire %5.3f",
                            ((get ? "get, " : "send, ") +
                             std::string(rfc2217 ? "rfc2217, " : "tcp, ") + delay)
                                .c_str(),
                            t.ok ? "ok" : "fail", t.seconds, t.seconds / wire);
                if (get) std::printf("  to the loop %5.3f (goal <= 1.05)", t.seconds / loop);
                std::printf("\n");
            }
        }
    }
    sim::PtyServer silent(sim::ControllerEngine(sim::EngineOptions{.node = 255}),
                          sim::PtyServerOptions{true, {}});
    const Ser2net server(QString::fromStdString(silent.devicePath()), false);
    std::string error;
    const auto connection = ConnectNamed(server.rfc2217().toStdString(), 1, &error);
    std::vector<int> nodes;
    for (int n = 1; n <= 254; ++n) nodes.push_back(n);
    const auto t0 = Clock::now();
    const ScanOutcome o = connection->scanNodes(nodes, kProbeLimitMs, {});
    std::printf("%-44s %-4s wall %7.3f s  bound 254 x (limit + 5 ms) %7.3f s\n",
                "scan, 254 silent nodes, rfc2217", o.ok() && o.found.empty() ? "ok" : "fail",
                Seconds(t0), 254 * (kProbeLimitMs / 1000.0 + 0.005));
}

}  // namespace corvane::bench
