// corvane-sim as a user runs it: a separate process, its device on the first line, signals to stop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "document/scene_file.h"
#include "sim/demo_show.h"
#include "tests/sim/sim_test_support.h"
#include "tests/support/programs.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;
using testing_support::FileBytes;
using testing_support::PseudoTerminal;
using testing_support::SceneBytes;
using testing_support::SimProcess;

TEST(CorvaneSim, SavesMemoryOnSigtermAndSigint) {
    std::string twelves;
    for (int d = 0; d < 64; ++d) twelves += "12";
    for (const int signal : {SIGTERM, SIGINT}) {
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("after.SCN"));
        SimProcess sim({QStringLiteral("--save"), saved});
        PseudoTerminal client(sim.device().toStdString());
        ASSERT_TRUE(client.write("[680138700003F" + twelves + "]"));  // node 01, write 0x0000
        ASSERT_EQ(client.read(6, 2s), "{--}01");
        ASSERT_EQ(sim.stop(signal), 0) << sim.errors().toStdString();
        SceneTable expected = DemoShow();
        for (int d = 0; d < kDimmerCount; ++d) expected(0, d) = 0x12;
        EXPECT_EQ(FileBytes(saved), SceneBytes(expected)) << "signal " << signal;
    }
}

TEST(CorvaneSim, SeveralNodesKeepAndSaveMemoriesOfTheirOwn) {
    QTemporaryDir dir;
    SimProcess sim({QStringLiteral("--node"), QStringLiteral("3,17"), QStringLiteral("--save"),
                    dir.filePath(QStringLiteral("after.SCN"))});
    PseudoTerminal client(sim.device().toStdString());
    // Node 11 (17), write 0x0000, every level 0.
    ASSERT_TRUE(client.write("[321138700003F" + std::string(128, '0') + "]"));
    ASSERT_EQ(client.read(6, 2s), "{--}11");
    ASSERT_EQ(sim.stop(), 0) << sim.errors().toStdString();
    EXPECT_EQ(FileBytes(dir.filePath(QStringLiteral("after-3.SCN"))), SceneBytes(DemoShow()));
    SceneTable expected = DemoShow();
    for (int d = 0; d < kDimmerCount; ++d) expected(0, d) = 0;
    EXPECT_EQ(FileBytes(dir.filePath(QStringLiteral("after-17.SCN"))), SceneBytes(expected));
}

TEST(CorvaneSim, PrintsItsDeviceServesTheBuiltInShowAndACloseFaultEndsIt) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("after.SCN"));
    SimProcess sim(
        {QStringLiteral("--fault"), QStringLiteral("1:close"), QStringLiteral("--save"), saved});
    ASSERT_TRUE(sim.device().startsWith("/dev/")) << sim.device().toStdString();
    PseudoTerminal client(sim.device().toStdString());
    ASSERT_TRUE(client.write(kReadBlock0));
    // Scene 1 of the built-in show is full: 64 x FF.
    EXPECT_EQ(client.read(132, 2s), "[C0" + std::string(128, 'F') + "]");
    ASSERT_TRUE(client.write("[9E0139700403F]"));  // block 1
    EXPECT_TRUE(client.hangsUpWithin(2s));
    EXPECT_EQ(sim.exitWithin(5000), 0);
    EXPECT_EQ(QFile(saved).size(), kSceneFileSize);
}

// What it says on standard error, and its status, for each start it refuses.
TEST(CorvaneSim, RefusesFilesItCannotUseAndWrongCommandLines) {
    QTemporaryDir dir;
    const QString high = dir.filePath(QStringLiteral("high.SCN"));
    testing_support::WriteFile(high, SceneBytes(SceneTable::with({{2, 3, 300}})));
    const QString shortFile = dir.filePath(QStringLiteral("short.SCN"));
    testing_support::WriteFile(shortFile, QByteArray(100, '\0'));
    const QString longFile = dir.filePath(QStringLiteral("long.SCN"));
    testing_support::WriteFile(longFile, QByteArray(9000, '\0'));
    const QString missing = dir.filePath(QStringLiteral("missing.SCN"));
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString noFolder = dir.filePath(QStringLiteral("no such folder/after.SCN"));
    const QString load = QStringLiteral("--load");
    const QString save = QStringLiteral("--save");
    const struct {
        QStringList args;
        QString says;
        int status = 1;
    } cases[] = {
        {{load, high},
         high + " cannot be loaded: scene 3, dimmer 4 has level 300; a controller holds only "
                "levels 0 to 255."},
        {{load, shortFile},
         "Could not open " + shortFile +
             ": the file is shorter than a scene file (100 of 8192 bytes)."},
        {{load, longFile},
         longFile + " is not a scene file: it is 9000 bytes long, a scene file 8192."},
        {{load, missing}, "Could not open " + missing + ": the file does not exist."},
        // A save path that cannot take the memory is refused before it starts.
        {{save, noFolder}, "Could not save " + noFolder + ": the folder does not exist."},
        {{save, pipe},
         "Could not save " + pipe + ": it is not a regular file (it is a named pipe)."},
        {{save, dir.path()}, "Could not save " + dir.path() + ": it is a folder."},
        {{QStringLiteral("--node"), QStringLiteral("255")},
         "--node \"255\": the node must be a node number from 1 to 254, in decimal (10) or in "
         "hexadecimal with 0x (0x0A), or several such as 3,17,20-22 (see corvane-sim --help)",
         2},
    };
    for (const auto& c : cases) {
        const testing_support::ProgramRun r = testing_support::RunProgram(
            QStringLiteral(CORVANE_SIM_PROGRAM), c.args, {.deadlineMs = 5000});
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.toStdString(), ("corvane-sim: " + c.says + "\n").toStdString());
    }
}

}  // namespace
}  // namespace corvane::sim
