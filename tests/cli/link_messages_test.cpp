// What the commands that reach a controller say, and what backup checks before it asks one: the
// window's words for a failed block, where a lost line was, each controller as scan confirms it,
// and a folder that cannot take the backup refused before anything goes on the line.
#include <sys/stat.h>

#include <QDir>

#include "sim/demo_show.h"
#include "tests/support/demo_line.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

// Each kind of attempt's words stand in the transfer report's test.
TEST(LinkMessages, AFailedBlockSaysWhatEachAttemptMetAndALostLineWhereItWas) {
    const struct {
        sim::FaultKind kind;
        int status;
        QString says;
    } cases[] = {
        {sim::FaultKind::Drop, 1,
         "Upload Error. Node: 03 on %1, Block: 12 Of 64 failed: no answer "
         "(3 attempts)."},
        {sim::FaultKind::Close, 3, ". Node: 03, Block: 12 Of 64."},
    };
    for (const auto& c : cases) {
        DemoLine line({3}, {{11, c.kind, sim::kAlways, sim::Direction::Read}});
        QTemporaryDir dir;
        const ProgramRun r =
            RunScenes({"get", "--port", line.device(), "--node", "3", dir.filePath("a.SCN")});
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.endsWith(c.says.arg(line.device()) + " " + dir.filePath("a.SCN") +
                                   " was not written.\n"))
            << r.err.toStdString();
    }
}

TEST(LinkMessages, ScanListsEachControllerAsItIsConfirmedAndCountsTheNodes) {
    DemoLine line({1});
    QProcess p;
    p.start(QStringLiteral(CORVANE_SCENES_PROGRAM), {"scan", "--port", line.device()});
    QString out, err;
    QElapsedTimer timer;
    timer.start();
    while (!err.contains("Looking at Node: 1F (31 of 254)\n") && timer.elapsed() < 20000 &&
           p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(50);
        out += QString::fromUtf8(p.readAllStandardOutput());
        err += QString::fromUtf8(p.readAllStandardError());
    }
    EXPECT_EQ(p.state(), QProcess::Running) << "the scan ended before it reached node 31";
    EXPECT_EQ(out, "1 Node: 01\n") << "node 1 was not written as soon as it was confirmed";
    p.kill();
    p.waitForFinished(5000);
}

TEST(BackupCommand, ChecksTheFolderBeforeAskingAnyControllerAndKeepsPermissions) {
    DemoLine line({1, 2});
    ShowFolder f;
    WriteFile(f.path("plain"), "not a folder");
    ASSERT_TRUE(QDir(f.path("pipe")).mkpath(".") && QDir(f.path("shut")).mkpath("."));
    ASSERT_EQ(mkfifo(QFile::encodeName(f.path("pipe/node-2.SCN")).constData(), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(f.dir.path()).constData(), 0755), 0);
    const struct {
        QString dir;
        bool asOrdinaryUser;
        QString says;
    } refused[] = {
        {f.path("missing/new"), false, ": neither the folder nor the folder it would be made in"},
        {f.path("plain"), false, ": it is not a folder."},
        {f.path("pipe"), false, "node-2.SCN: it is not a regular file (it is a named pipe)."},
        {f.path("shut"), true, ": new files cannot be created in it (Permission denied)."},
    };
    for (const auto& c : refused) {
        const ProgramRun r =
            RunProgram(QStringLiteral(CORVANE_SCENES_PROGRAM),
                       {"backup", "--port", line.device(), "--nodes", "1-2", c.dir},
                       {.asOrdinaryUser = c.asOrdinaryUser});
        EXPECT_EQ(r.status, 4) << c.dir.toStdString();
        EXPECT_TRUE(r.err.contains(c.says) && !r.err.contains("Looking at")) << r.err.toStdString();
    }
    EXPECT_TRUE(line.server.requests().empty()) << "a controller was asked";

    // A missing folder is made; a file replaced keeps its permissions.
    const QString file = f.path("new/node-2.SCN");
    const QStringList again{"backup", "--port", line.device(), "--nodes", "2", f.path("new")};
    EXPECT_EQ(RunScenes(again).status, 0);
    ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0640), 0);
    EXPECT_EQ(RunScenes(again).status, 0);
    EXPECT_EQ(FileBytes(file), SceneBytes(DemoShow()));
    EXPECT_EQ(QFile::permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup);
}

}  // namespace
}  // namespace corvane
