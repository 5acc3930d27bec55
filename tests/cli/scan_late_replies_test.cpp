// scan and backup against corvane-sim on a line whose controllers answer late: a late reply is
// never taken for another node's, and no controller is missed.
#include <QDir>
#include <QRegularExpression>

#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

struct LateLine {
    int lateMs;
    QString slowAt;  // "@3": only that node is late; empty: every node
    QString served;  // corvane-sim --node, and what scan must list
    QString asked;   // --nodes
};

class ScanLateReplies : public testing::TestWithParam<LateLine> {};

TEST_P(ScanLateReplies, ScanListsAndBackupSavesExactlyTheControllersServed) {
    const LateLine& line = GetParam();
    SimProcess sim({"--node", line.served, "--fault", "0:late:always:read" + line.slowAt,
                    "--late-ms", QString::number(line.lateMs)});
    QTemporaryDir dir;
    const ProgramRun scan =
        RunScenes({"scan", "--port", sim.device(), "--nodes", line.asked}, {}, 60000);
    const ProgramRun backup =
        RunScenes({"backup", "--port", sim.device(), "--nodes", line.asked, dir.path()}, {}, 60000);
    EXPECT_EQ(scan.status, 0) << scan.err.toStdString();
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString();
    QStringList listed = scan.out.split('\n', Qt::SkipEmptyParts);
    listed.sort();
    EXPECT_EQ(listed.join(',').remove(QRegularExpression(" Node: \\w\\w")), line.served);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files.join(','), "node-" + line.served.split(',').join(".SCN,node-") + ".SCN");
}

// Every controller late by 0 to 900 ms, or only the last one, on a low and a high stretch of nodes.
std::vector<LateLine> Lines() {
    std::vector<LateLine> rows;
    for (const auto& [served, asked] : {std::pair{"1,3,6", "1-8"}, {"253,254", "250-254"}}) {
        for (int late : {0, 150, 300, 450, 900}) rows.push_back({late, {}, served, asked});
        rows.push_back({450, "@" + QString(served).section(',', -1), served, asked});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Lines, ScanLateReplies, testing::ValuesIn(Lines()),
                         [](const testing::TestParamInfo<LateLine>& info) {
                             // "Late450At6Nodes1_3_6": a name CTest can list and filter.
                             QString name = QStringLiteral("Late%1%2Nodes%3")
                                                .arg(info.param.lateMs)
                                                .arg(QString(info.param.slowAt).replace('@', "At"))
                                                .arg(info.param.served);
                             return name.replace(',', '_').toStdString();
                         });

}  // namespace
}  // namespace corvane
