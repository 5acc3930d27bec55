// scan and backup against corvane-sim on a line whose controllers answer late: a late reply is
// never taken for another node's, and no controller is missed.
#include <QDir>

#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

struct LateLine {
    int lateMs;      // 0: every controller answers at once
    QString slowAt;  // "@3": only that node is late; empty: every node
    QString served;  // corvane-sim --node
    QString asked;   // --nodes
    QStringList listed;
};

class ScanLateReplies : public testing::TestWithParam<LateLine> {};

TEST_P(ScanLateReplies, ScanListsAndBackupSavesExactlyTheControllersServed) {
    const LateLine& line = GetParam();
    QStringList simArgs{"--node", line.served};
    if (line.lateMs > 0)
        simArgs << "--fault"
                << "0:late:always:read" + line.slowAt << "--late-ms"
                << QString::number(line.lateMs);
    SimProcess sim(simArgs);
    const ProgramRun scan =
        RunScenes({"scan", "--port", sim.device(), "--nodes", line.asked}, {}, 60000);
    EXPECT_EQ(scan.status, 0) << scan.err.toStdString();
    QStringList listed = scan.out.split('\n', Qt::SkipEmptyParts);
    listed.sort();
    QStringList expected;
    for (const QString& node : line.listed) expected << node;
    EXPECT_EQ(listed, expected);

    QTemporaryDir dir;
    const ProgramRun backup =
        RunScenes({"backup", "--port", sim.device(), "--nodes", line.asked, dir.path()}, {}, 60000);
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString();
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    QStringList expectedFiles;
    for (const QString& node : line.listed)
        expectedFiles << "node-" + node.section(' ', 0, 0) + ".SCN";
    files.sort();
    expectedFiles.sort();
    EXPECT_EQ(files, expectedFiles);
}

const QStringList kOneThreeSix{"1 Node: 01", "3 Node: 03", "6 Node: 06"};
const QStringList kTopTwo{"253 Node: FD", "254 Node: FE"};

INSTANTIATE_TEST_SUITE_P(Lines, ScanLateReplies,
                         testing::Values(LateLine{0, {}, "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{150, {}, "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{300, {}, "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{450, {}, "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{900, {}, "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{450, "@3", "1,3,6", "1-8", kOneThreeSix},
                                         LateLine{0, {}, "253,254", "250-254", kTopTwo},
                                         LateLine{150, {}, "253,254", "250-254", kTopTwo},
                                         LateLine{300, {}, "253,254", "250-254", kTopTwo},
                                         LateLine{450, {}, "253,254", "250-254", kTopTwo},
                                         LateLine{900, {}, "253,254", "250-254", kTopTwo},
                                         LateLine{900, "@254", "253,254", "250-254", kTopTwo}));

}  // namespace
}  // namespace corvane
