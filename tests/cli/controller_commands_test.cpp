// scan, verify, send --backup and backup against simulated controllers sharing one line.
#include <gtest/gtest.h>

#include "tests/support/demo_line.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

using Line = DemoLine;

TEST(ScanCommand, ListsEachControllerFoundByNumberAndName) {
    Line line({3, 17, 254});
    const ProgramRun r =
        RunScenes({"scan", "--port", line.device(), "--nodes", "1-20,0xFE", "--limit", "20"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "3 Node: 03\n17 Node: 11\n254 Node: FE\n");
    EXPECT_TRUE(r.err.contains("Looking at Node: 14 (20 of 21)")) << r.err.toStdString();
}

TEST(ScanCommand, SaysWhenNoneAnswersAndRefusesAWrongList) {
    Line line({30});
    ProgramRun r = RunScenes({"scan", "--port", line.device(), "--nodes", "1-3", "--limit", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.endsWith("No controller answered on " + line.device() + ".\n"))
        << r.err.toStdString();
    r = RunScenes({"scan", "--port", line.device(), "--nodes", "5-1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.endsWith("--nodes: 5-1 runs backwards\n")) << r.err.toStdString();
    r = RunScenes({"scan", "--port", line.device(), "--limit", "0"});
    EXPECT_EQ(r.status, 2);
}

TEST(VerifyCommand, SameDifferentAndSilent) {
    Line line({1});
    QTemporaryDir dir;
    WriteFile(dir.filePath("same.SCN"), SceneBytes(DemoShow()));
    SceneTable other = DemoShow();
    other(10, 5) = static_cast<int16_t>(other(10, 5) == 0 ? 1 : 0);
    WriteFile(dir.filePath("other.SCN"), SceneBytes(other));

    ProgramRun r = RunScenes({"verify", "--port", line.device(), dir.filePath("same.SCN")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "The controller holds exactly " + dir.filePath("same.SCN") + ".\n");

    r = RunScenes({"verify", "--port", line.device(), dir.filePath("other.SCN")});
    EXPECT_EQ(r.status, 5) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Scene: 11  Dimmer 02.2")) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith("1 level differs.\n")) << r.out.toStdString();
    EXPECT_EQ(line.requests(sim::Direction::Write), 0) << "verify wrote to the controller";

    r = RunScenes({"verify", "--port", line.device(), "--node", "2", dir.filePath("same.SCN")},
                  QString(), 60000);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.endsWith("corvane-scenes: Upload Error. Node: 02 on " + line.device() +
                               ", Block: 01 Of 64 failed: no answer (3 attempts). Nothing was "
                               "compared.\n"))
        << r.err.toStdString();
}

TEST(SendCommand, BackupKeepsTheOldShowBeforeSendingTheNewOne) {
    Line line({1});
    QTemporaryDir dir;
    SceneTable show = SceneTable::with({{0, 0, 7}, {63, 63, 200}});
    WriteFile(dir.filePath("new.SCN"), SceneBytes(show));
    const ProgramRun r = RunScenes({"send", "--port", line.device(), "--backup",
                                    dir.filePath("old.SCN"), dir.filePath("new.SCN")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count("Reading into " + dir.filePath("old.SCN") + ": Block: "), 64);
    EXPECT_EQ(r.err.count("Sending: Block: "), 64);
    EXPECT_EQ(FileBytes(dir.filePath("old.SCN")), SceneBytes(DemoShow()));
    EXPECT_EQ(sim::ToSceneTable(line.server.memory()), show);
}

TEST(SendCommand, BackupThatCannotBeReadSendsNothing) {
    Line line({1}, {{20, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Read}});
    QTemporaryDir dir;
    WriteFile(dir.filePath("new.SCN"), SceneBytes(SceneTable{}));
    const ProgramRun r = RunScenes({"send", "--port", line.device(), "--backup",
                                    dir.filePath("old.SCN"), dir.filePath("new.SCN")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        r.err.endsWith(dir.filePath("old.SCN") + " was not written, and nothing was sent.\n"))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("old.SCN")));
    EXPECT_EQ(line.requests(sim::Direction::Write), 0);
    EXPECT_EQ(sim::ToSceneTable(line.server.memory()), DemoShow());
}

TEST(BackupCommand, SavesEveryControllerThatAnswersAndNamesTheOneThatFails) {
    Line line({3, 17, 40}, {{5, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Read, 17}});
    QTemporaryDir dir;
    const ProgramRun r = RunScenes(
        {"backup", "--port", line.device(), "--nodes", "1-45", "--limit", "20", dir.path()},
        QString(), 60000);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out, "Node: 03 new\nNode: 28 new\nFound 3 controllers on " + line.device() +
                         "; saved 2 files in " + dir.path() + ".\n");
    EXPECT_TRUE(r.err.contains(", Block: 06 Of 64 failed: no answer")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("\nNode: 11 Block: 06 Of 64\n")) << r.err.toStdString();
    EXPECT_EQ(FileBytes(dir.filePath("node-3.SCN")), SceneBytes(DemoShow()));
    EXPECT_EQ(FileBytes(dir.filePath("node-40.SCN")), SceneBytes(DemoShow()));
    EXPECT_FALSE(QFile::exists(dir.filePath("node-17.SCN")));
}

}  // namespace
}  // namespace corvane
