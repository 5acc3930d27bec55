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
    QString served;  // corvane-sim --node, and what scan must list
    QString asked;   // --nodes
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
    QTemporaryDir dir;
    const ProgramRun scan =
        RunScenes({"scan", "--port", sim.device(), "--nodes", line.asked}, {}, 60000);
    const ProgramRun backup =
        RunScenes({"backup", "--port", sim.device(), "--nodes", line.asked, dir.path()}, {}, 60000);
    EXPECT_EQ(scan.status, 0) << scan.err.toStdString();
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString();
    QStringList listed, files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    for (const QString& line : scan.out.split('\n', Qt::SkipEmptyParts))
        listed << line.section(' ', 0, 0);
    EXPECT_EQ(listed.join(','), line.served);
    EXPECT_EQ(files.join(','), "node-" + line.served.split(',').join(".SCN,node-") + ".SCN");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanLateReplies,
    testing::Values(LateLine{0, {}, "1,3,6", "1-8"}, LateLine{150, {}, "1,3,6", "1-8"},
                    LateLine{300, {}, "1,3,6", "1-8"}, LateLine{450, {}, "1,3,6", "1-8"},
                    LateLine{900, {}, "1,3,6", "1-8"}, LateLine{450, "@3", "1,3,6", "1-8"},
                    LateLine{0, {}, "253,254", "250-254"}, LateLine{150, {}, "253,254", "250-254"},
                    LateLine{300, {}, "253,254", "250-254"},
                    LateLine{450, {}, "253,254", "250-254"},
                    LateLine{900, {}, "253,254", "250-254"},
                    LateLine{900, "@254", "253,254", "250-254"}));

}  // namespace
}  // namespace corvane
