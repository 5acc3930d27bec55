// A serial device server on loopback for tests and benchmarks: Debian's ser2net serving a
// pseudo-terminal on a port that speaks RFC 2217 and one of raw TCP, each chosen free when it
// starts; ended when destroyed. Free of GoogleTest, so the benchmarks use it too.
#pragma once

#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

namespace corvane::sim {

// A loopback TCP port nobody listens on now.
inline uint16_t FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Whether something listens on 127.0.0.1:port, read from the system's table so that no test
// connection opens the line behind it.
inline bool Listening(uint16_t port) {
    QFile table(QStringLiteral("/proc/net/tcp"));
    table.open(QIODevice::ReadOnly);
    const QByteArray local =
        "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.value(1) == local && fields.value(3) == "0A") return true;
    }
    return false;
}

class Ser2net {
  public:
    // device at line (ser2net's "38400n81"); chardelay: ser2net's batching of what the line sends.
    explicit Ser2net(const QString& device, bool chardelay = true,
                     const QString& line = QStringLiteral("38400n81")) {
        while (tcpPort_ == rfc2217Port_) tcpPort_ = FreePort();
        const QString connector =
            QStringLiteral("  connector: serialdev,%1,%2,local\n").arg(device, line) +
            (chardelay ? QString() : QStringLiteral("  options:\n    chardelay: false\n"));
        QFile file(dir_.filePath(QStringLiteral("ser2net.yaml")));
        file.open(QIODevice::WriteOnly);
        file.write((QStringLiteral("connection: &a\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n")
                        .arg(rfc2217Port_) +
                    connector +
                    QStringLiteral("connection: &b\n  accepter: tcp,127.0.0.1,%1\n").arg(tcpPort_) +
                    connector)
                       .toUtf8());
        file.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(Program(), {"-n", "-d", "-c", file.fileName()});
        const QDeadlineTimer deadline(5000);
        while (!(Listening(rfc2217Port_) && Listening(tcpPort_)) && !deadline.hasExpired())
            QThread::msleep(10);
        // The test then fails on its connection; this says why.
        if (deadline.hasExpired()) qWarning() << "ser2net did not start:" << process_.readAll();
    }
    ~Ser2net() { stop(); }

    // Debian puts it in /usr/sbin, which an ordinary user's PATH leaves out; empty when missing.
    static QString Program() {
        return QStandardPaths::findExecutable(
            QStringLiteral("ser2net"),
            {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    }

    QString rfc2217() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(rfc2217Port_); }
    QString tcp() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(tcpPort_); }
    uint16_t tcpPort() const { return tcpPort_; }

    // Ends it at once, as a device server switched off: its connections close.
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }

  private:
    QTemporaryDir dir_;
    uint16_t rfc2217Port_ = FreePort();
    uint16_t tcpPort_ = rfc2217Port_;
    QProcess process_;
};

}  // namespace corvane::sim
