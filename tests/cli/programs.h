// Runs corvane-scenes and corvane-sim as a technician would, each with a hard deadline.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "document/scene_file.h"

namespace corvane::testing_support {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

// outputFile, when given, takes standard output in place of the test ("/dev/full"); environment,
// when given, replaces the test's own.
inline ProgramRun RunScenes(const QStringList& args, const QString& workDir = QString(),
                            int deadlineMs = 30000, const QString& outputFile = QString(),
                            const QProcessEnvironment& environment =
                                QProcessEnvironment(QProcessEnvironment::InheritFromParent)) {
    QProcess p;
    p.setProcessEnvironment(environment);
    if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
    if (!outputFile.isEmpty()) p.setStandardOutputFile(outputFile, QIODevice::Append);
    p.start(QStringLiteral(CORVANE_SCENES_PROGRAM), args);
    ProgramRun r;
    if (!p.waitForFinished(deadlineMs)) {
        p.kill();
        p.waitForFinished(2000);
        ADD_FAILURE() << "corvane-scenes " << args.join(' ').toStdString()
                      << " did not finish in time";
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A corvane-sim process; stopped with SIGTERM (saving with --save) when destroyed or by stop().
class SimProcess {
  public:
    explicit SimProcess(const QStringList& args) {
        process_.start(QStringLiteral(CORVANE_SIM_PROGRAM), args);
        if (!process_.waitForStarted(5000)) {
            ADD_FAILURE() << "corvane-sim did not start";
            return;
        }
        QByteArray line;
        QElapsedTimer timer;
        timer.start();
        while (!line.contains('\n') && timer.elapsed() < 5000) {
            process_.waitForReadyRead(100);
            line += process_.readAllStandardOutput();
        }
        device_ = QString::fromUtf8(line.left(line.indexOf('\n'))).trimmed();
        if (device_.isEmpty()) ADD_FAILURE() << "corvane-sim printed no device";
    }
    ~SimProcess() { stop(); }

    const QString& device() const { return device_; }

    int stop() {
        if (process_.state() == QProcess::NotRunning) return process_.exitCode();
        ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
            ADD_FAILURE() << "corvane-sim did not stop on SIGTERM";
        }
        return process_.exitCode();
    }

  private:
    QProcess process_;
    QString device_;
};

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QByteArray SceneBytes(const SceneTable& table) {
    QByteArray bytes;
    bytes.reserve(kSceneFileSize);
    for (int16_t level : table.storage()) {
        bytes.append(static_cast<char>(level & 0xFF));
        bytes.append(static_cast<char>((level >> 8) & 0xFF));
    }
    return bytes;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace corvane::testing_support
