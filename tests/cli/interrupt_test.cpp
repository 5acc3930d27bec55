// Ctrl-C during a transfer: the progress line ends, the command says what was left behind, and
// exits 130; a get writes no file.
#include <gtest/gtest.h>

#include <QProcess>
#include <csignal>

#include "tests/cli/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

// Starts corvane-scenes, waits for the progress to reach `block` (1 to 64) and presses Ctrl-C.
ProgramRun InterruptAt(const QStringList& args, int block) {
    QProcess p;
    p.start(QStringLiteral(CORVANE_SCENES_PROGRAM), args);
    ProgramRun r;
    if (!p.waitForStarted(5000)) {
        ADD_FAILURE() << "corvane-scenes did not start";
        return r;
    }
    const QString mark = QStringLiteral("Block: %1 Of 64").arg(block, 2, 10, QLatin1Char('0'));
    QElapsedTimer timer;
    timer.start();
    while (!r.err.contains(mark) && p.state() == QProcess::Running && timer.elapsed() < 20000) {
        p.waitForReadyRead(50);
        r.err += QString::fromUtf8(p.readAllStandardError());
    }
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(2000);
        ADD_FAILURE() << "corvane-scenes did not end on Ctrl-C";
        return r;
    }
    r.err += QString::fromUtf8(p.readAllStandardError());
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

TEST(Interrupt, AGetStopsWritingNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("show.SCN");
    struct Case {
        QStringList sim;
        int pressAt;
    };
    // A paced line, and one whose fourth block is never answered: Ctrl-C ends that wait too.
    for (const Case& c : {Case{{"--paced"}, 10}, Case{{"--fault", "3:drop:always"}, 4}}) {
        SimProcess sim(c.sim);
        const ProgramRun r = InterruptAt({"get", "--port", sim.device(), file}, c.pressAt);
        EXPECT_EQ(r.status, 130) << r.err.toStdString();
        EXPECT_TRUE(
            r.err.endsWith("\ncorvane-scenes: Interrupted: " + file + " was not written.\n"))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Upload Error")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(Interrupt, ASendSaysTheControllerMayHoldPartOfTheShow) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("show.SCN"), SceneBytes(SceneTable::with({{0, 0, 1}})));
    SimProcess sim({"--paced"});
    const ProgramRun r =
        InterruptAt({"send", "--port", sim.device(), dir.filePath("show.SCN")}, 10);
    EXPECT_EQ(r.status, 130) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(
        "\ncorvane-scenes: Interrupted: The controller may hold part of the show.\n"))
        << r.err.toStdString();
}

}  // namespace
}  // namespace corvane
