// A serial device server on loopback: Debian's ser2net, serving a pseudo-terminal on one port
// that speaks RFC 2217 and one of raw TCP, each chosen free when it starts; stopped when destroyed.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

namespace corvane::testing_support {

// A loopback TCP port nobody listens on now.
inline uint16_t FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// True once something listens on 127.0.0.1:port (read from the system's table, so that no test
// connection opens the line behind it).
inline bool Listening(uint16_t port) {
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly)) return false;
    const QByteArray local =
        QByteArray("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1] == local && fields[3] == "0A") return true;
    }
    return false;
}

class Ser2net {
  public:
    // device: the pseudo-terminal to serve at 38400 8N1 (or line, as ser2net writes it);
    // chardelay: ser2net's own batching of what the line sends, on by default.
    explicit Ser2net(const QString& device, bool chardelay = true,
                     const QString& line = QStringLiteral("38400n81"))
        : rfc2217Port_(FreePort()), tcpPort_(FreePort()) {
        while (tcpPort_ == rfc2217Port_) tcpPort_ = FreePort();
        const QString options =
            chardelay ? QString() : QStringLiteral("  options:\n    chardelay: false\n");
        const QString connector =
            QStringLiteral("  connector: serialdev,%1,%2,local\n").arg(device, line);
        const QString yaml =
            QStringLiteral("connection: &rfc2217\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n")
                .arg(rfc2217Port_) +
            connector + options +
            QStringLiteral("connection: &raw\n  accepter: tcp,127.0.0.1,%1\n").arg(tcpPort_) +
            connector + options;
        QFile file(dir_.filePath(QStringLiteral("ser2net.yaml")));
        file.open(QIODevice::WriteOnly);
        file.write(yaml.toUtf8());
        file.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral("ser2net"), {QStringLiteral("-n"), QStringLiteral("-d"),
                                                   QStringLiteral("-c"), file.fileName()});
        QElapsedTimer timer;
        timer.start();
        while (!(Listening(rfc2217Port_) && Listening(tcpPort_)) && timer.elapsed() < 5000 &&
               process_.state() != QProcess::NotRunning)
            QThread::msleep(10);
        if (!Listening(rfc2217Port_) || !Listening(tcpPort_))
            ADD_FAILURE() << "ser2net did not start: " << process_.readAll().toStdString();
    }
    ~Ser2net() { stop(); }
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    QString rfc2217() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(rfc2217Port_); }
    QString tcp() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(tcpPort_); }

    // Ends it at once, as a device server switched off does; its connections close.
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }

  private:
    QTemporaryDir dir_;
    uint16_t rfc2217Port_;
    uint16_t tcpPort_;
    QProcess process_;
};

}  // namespace corvane::testing_support
