// Runs corvane-scenes and corvane-sim as a technician would, each with a hard deadline.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>

#include "tests/support/ordinary_user.h"
#include "tests/support/scene_files.h"

namespace corvane::testing_support {

struct ProgramRun {
    int status = -1;  // -1: it did not end normally, or not in time
    QString out;
    QString err;
};

struct RunOptions {
    QString workDir{};
    int deadlineMs = 30000;
    QString outputFile{};  // takes standard output in place of the test ("/dev/full")
    bool asOrdinaryUser = false;
    QString interruptAt{};  // Ctrl-C (SIGINT) once standard error shows this text
    QProcessEnvironment environment{QProcessEnvironment::InheritFromParent};
};

// A path the build gives relative to the test program's folder (a built program, the checkout).
inline QString BuildPath(const QString& program) {
    return QDir::isRelativePath(program)
               ? QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(program)
               : program;
}

inline ProgramRun RunProgram(QString program, const QStringList& args, const RunOptions& options) {
    program = BuildPath(program);
    const std::string what = (program + " " + args.join(' ')).toStdString();
    QProcess p;
    QTemporaryDir copyDir;
    if (options.asOrdinaryUser) {
        // The checkout may lie where that user cannot go (a home folder of mode 0700): the user
        // runs a copy from a folder of its own.
        const QString copy = copyDir.filePath(QStringLiteral("program"));
        if (!QFile::copy(program, copy) ||
            chmod(QFile::encodeName(copyDir.path()).constData(), 0755) != 0 ||
            chmod(QFile::encodeName(copy).constData(), 0755) != 0) {
            ADD_FAILURE() << "could not put a copy where an ordinary user can run it: " << what;
            return {};
        }
        program = copy;
        p.setChildProcessModifier([user = Nobody()] {
            if (!BecomeOrdinaryUser(user)) _exit(125);
        });
    }
    p.setProcessEnvironment(options.environment);
    if (!options.workDir.isEmpty()) p.setWorkingDirectory(options.workDir);
    if (!options.outputFile.isEmpty())
        p.setStandardOutputFile(options.outputFile, QIODevice::Append);
    p.start(program, args);
    QString err;
    if (!options.interruptAt.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        while (!err.contains(options.interruptAt) && p.state() != QProcess::NotRunning &&
               timer.elapsed() < options.deadlineMs) {
            p.waitForReadyRead(50);
            err += QString::fromUtf8(p.readAllStandardError());
        }
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    }
    if (!p.waitForFinished(options.deadlineMs)) {
        p.kill();
        p.waitForFinished(2000);
        ADD_FAILURE() << what << " did not finish in time";
        return {};
    }
    ProgramRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (options.asOrdinaryUser && r.status == 125) ADD_FAILURE() << "could not drop root: " << what;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = err + QString::fromUtf8(p.readAllStandardError());
    return r;
}

#ifdef CORVANE_SCENES_PROGRAM
inline ProgramRun RunScenes(const QStringList& args, const QString& workDir = QString(),
                            int deadlineMs = 30000, const QString& outputFile = QString(),
                            const QProcessEnvironment& environment =
                                QProcessEnvironment(QProcessEnvironment::InheritFromParent)) {
    return RunProgram(QStringLiteral(CORVANE_SCENES_PROGRAM), args,
                      {workDir, deadlineMs, outputFile, false, {}, environment});
}
#endif

// A temporary folder of shows, each written as the bytes of a table.
struct ShowFolder {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const SceneTable& table) const {
        WriteFile(path(name), SceneBytes(table));
        return path(name);
    }
};

// A corvane-sim process, its device read from its first line; stopped with SIGTERM (which saves
// with --save) when destroyed.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& args) {
        process_.start(BuildPath(QStringLiteral(CORVANE_SIM_PROGRAM)), args);
        QByteArray line;
        QElapsedTimer timer;
        timer.start();
        while (!line.contains('\n') && timer.elapsed() < 5000 &&
               process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(100);
            line += process_.readAllStandardOutput();
        }
        device_ = QString::fromUtf8(line.left(line.indexOf('\n'))).trimmed();
        if (device_.isEmpty()) ADD_FAILURE() << "corvane-sim printed no device";
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const QString& device() const { return device_; }

    // Sends the signal if it still runs; its exit status once ended, -1 if it had to be killed.
    int stop(int signal = SIGTERM) {
        if (process_.state() == QProcess::NotRunning) return exitWithin(0);
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        const int status = exitWithin(5000);
        if (status == -1) ADD_FAILURE() << "corvane-sim did not end cleanly on signal " << signal;
        return status;
    }
    // Its exit status once it has ended by itself within the time given; -1 if it has not.
    int exitWithin(int ms) {
        if (!process_.waitForFinished(ms) && process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(2000);
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

  private:
    QProcess process_;
    QString device_;
};

}  // namespace corvane::testing_support
