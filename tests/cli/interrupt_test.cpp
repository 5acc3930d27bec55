// Ctrl-C during a transfer: the progress line ends, the command says what was left behind, and
// exits 130; a get writes no file.
#include <gtest/gtest.h>

#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

// Runs corvane-scenes and presses Ctrl-C once the progress reaches block (1 to 64).
ProgramRun InterruptAt(const QStringList& args, int block) {
    const QString mark = QStringLiteral("Block: %1 Of 64").arg(block, 2, 10, QLatin1Char('0'));
    return RunProgram(QStringLiteral(CORVANE_SCENES_PROGRAM), args,
                      {.deadlineMs = 20000, .interruptAt = mark});
}

TEST(Interrupt, AGetStopsWritingNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("show.SCN");
    struct Case {
        QStringList sim;
        int pressAt = 0;
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
        "\ncorvane-scenes: Interrupted: the controller may hold part of the show.\n"))
        << r.err.toStdString();
}

}  // namespace
}  // namespace corvane
