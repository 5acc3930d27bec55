// backup's history (new, unchanged, changed, --keep, a run killed between its steps), several lines
// at once, Ctrl-C, and the nightly unit's own command line, against simulated controllers.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTimeZone>

#include "tests/support/demo_line.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

const QDateTime kLastNight(QDate(2026, 12, 7), QTime(3, 0), QTimeZone::utc());

QProcessEnvironment InUtc(const QString& stop = QString()) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("TZ", "UTC");
    if (!stop.isEmpty()) e.insert("CORVANE_BACKUP_TEST_STOP", stop);
    return e;
}

// A backup of node 3 saved last night, holding table.
void SaveLastNight(const QString& file, const SceneTable& table) {
    WriteFile(file, SceneBytes(table));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(kLastNight, QFileDevice::FileModificationTime));
}

SceneTable TwelveChanged() {
    SceneTable t = DemoShow();
    for (int d = 0; d < 12; ++d) t(5, d) = static_cast<int16_t>(t(5, d) ^ 1);
    return t;
}

// Each node is given the default time to answer, so that a busy machine does not miss one.
ProgramRun Backup(const QString& device, const QString& dir, const QStringList& more = {},
                  const QString& stop = QString()) {
    return RunScenes(
        QStringList{"backup", "--port", device} +
            (more.contains("--nodes") ? QStringList() : QStringList{"--nodes", "3-7"}) + more +
            QStringList{dir},
        QString(), 60000, QString(), InUtc(stop));
}

TEST(BackupHistory, NewUnchangedAndChanged) {
    DemoLine line({3});
    const QString history = "history/node-3/2026-12-07T03-00-00.SCN";
    struct Case {
        std::optional<SceneTable> before;
        int status;
        QString said;
    } cases[] = {
        {std::nullopt, 0, "Node: 03 new"},
        {DemoShow(), 0, "Node: 03 unchanged"},
        {TwelveChanged(), 5,
         "Node: 03 changed: 12 levels differ from the backup of 2026-12-07 03:00"},
    };
    for (const Case& c : cases) {
        ShowFolder dir;
        const QString file = dir.path("node-3.SCN");
        if (c.before) SaveLastNight(file, *c.before);
        const ProgramRun r = Backup(line.device(), dir.dir.path());
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(c.said + "\n")) << r.out.toStdString();
        EXPECT_EQ(FileBytes(file), SceneBytes(DemoShow()));
        EXPECT_EQ(QFileInfo(file).lastModified() == kLastNight, c.before && c.status == 0);
        EXPECT_EQ(FileBytes(dir.path(history)),
                  c.status == 5 ? SceneBytes(*c.before) : QByteArray());
    }
}

TEST(BackupHistory, KeepsTheNewestVersionsAndSaysWhenOneControllerFailed) {
    DemoLine line({3, 17}, {{5, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Read, 17}});
    ShowFolder dir;
    QDir().mkpath(dir.path("history/node-3"));
    for (const char* old : {"2026-12-01T03-00-00.SCN", "2026-12-06T03-00-00.SCN",
                            "2026-12-07T03-00-00.SCN", "notes.txt"})
        WriteFile(dir.path("history/node-3/") + old, SceneBytes(SceneTable{}));
    SaveLastNight(dir.path("node-3.SCN"), TwelveChanged());
    const ProgramRun r = Backup(line.device(), dir.dir.path(), {"--keep", "3", "--nodes", "3,17"});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path("history/node-3")).entryList(QDir::Files),
              QStringList({"2026-12-06T03-00-00.SCN", "2026-12-07T03-00-00-2.SCN",
                           "2026-12-07T03-00-00.SCN", "notes.txt"}));
    EXPECT_EQ(FileBytes(dir.path("history/node-3/2026-12-07T03-00-00-2.SCN")),
              SceneBytes(TwelveChanged()));
}

TEST(BackupHistory, AKilledRunNeverLeavesANodeWithoutItsFile) {
    DemoLine line({3});
    struct Case {
        QString step;
        QByteArray afterKill;
        int rerun;
    } cases[] = {{"written", SceneBytes(TwelveChanged()), 5},
                 {"kept", SceneBytes(TwelveChanged()), 5},
                 {"replaced", SceneBytes(DemoShow()), 0}};
    for (const Case& c : cases) {
        ShowFolder dir;
        SaveLastNight(dir.path("node-3.SCN"), TwelveChanged());
        EXPECT_EQ(Backup(line.device(), dir.dir.path(), {}, c.step).status, -1)
            << c.step.toStdString();
        EXPECT_EQ(FileBytes(dir.path("node-3.SCN")), c.afterKill) << c.step.toStdString();
        EXPECT_EQ(Backup(line.device(), dir.dir.path()).status, c.rerun) << c.step.toStdString();
        EXPECT_EQ(FileBytes(dir.path("node-3.SCN")), SceneBytes(DemoShow()));
        EXPECT_EQ(QDir(dir.path("history/node-3")).entryList(QDir::Files),
                  QStringList{"2026-12-07T03-00-00.SCN"});
        EXPECT_FALSE(QFile::exists(dir.path(".node-3.SCN.new")));
    }
}

TEST(BackupLines, EachLineIntoItsFolderTheMissingOneNamed) {
    SimProcess two({"--node", "3,5"}), one({"--node", "7"}), silent({"--node", "200"});
    ShowFolder dir;
    const QString missing = "/dev/corvane-missing-line";
    const ProgramRun r =
        Backup(two.device(), dir.dir.path(),
               {"--port", one.device() + " " + silent.device(), "--port", missing});
    EXPECT_EQ(r.status, 3) << r.err.toStdString();
    const auto folder = [](const SimProcess& p) { return p.device().mid(5).replace('/', '-'); };
    for (const QString& file :
         {folder(two) + "/node-3.SCN", folder(two) + "/node-5.SCN", folder(one) + "/node-7.SCN"})
        EXPECT_EQ(FileBytes(dir.path(file)), SceneBytes(DemoShow())) << file.toStdString();
    EXPECT_TRUE(r.out.contains(folder(one) + " Node: 07 new\n" + folder(one) +
                               " Found 1 controller on " + one.device() + "; saved 1 file in " +
                               dir.path(folder(one)) + ".\n"))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(folder(two) + " Node: 05 Block: 64 Of 64\n")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("No controller answered on " + silent.device() + ".\n"));
    EXPECT_TRUE(r.err.contains("Could not use " + missing + ": no such device"));
    EXPECT_EQ(QDir(dir.dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

TEST(BackupLines, CtrlCEndsEveryLine) {
    SimProcess a({"--paced"}), b({"--paced"});
    ShowFolder dir;
    const ProgramRun r = RunProgram(
        CORVANE_SCENES_PROGRAM,
        {"backup", "--port", a.device(), "--port", b.device(), "--nodes", "1", dir.dir.path()},
        {.deadlineMs = 20000, .interruptAt = "Block: 10 Of 64"});
    EXPECT_EQ(r.status, 130) << r.err.toStdString();
    EXPECT_EQ(r.err.count("Interrupted: "), 2) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Block: 30 Of 64")) << r.err.toStdString();
}

// The service's ExecStart=, with its Environment= defaults and a .conf as EnvironmentFile=,
// expanded as systemd does (${X} one word) and run against the simulator.
TEST(BackupUnit, TheServiceCommandBacksUpTheLinesOfItsConf) {
    SimProcess a({"--node", "3"}), b({"--node", "4"});
    ShowFolder dir;
    WriteFile(dir.path("stage.conf"),
              "# The stage's two lines.\nPORT=" + (a.device() + " " + b.device()).toUtf8() +
                  "\nNODES=1-8\n");
    const auto placed = [&](QString path) {
        return path.replace("%i", "stage")
            .replace("/etc/corvane-backup", dir.dir.path())
            .replace("/var/lib/corvane-backup", dir.dir.path());
    };
    QMap<QString, QString> env;
    const auto set = [&env](const QStringList& pairs) {
        for (const QString& pair : pairs)
            if (pair.contains('=') && !pair.startsWith('#'))
                env[pair.section('=', 0, 0)] = pair.section('=', 1);
    };
    QFile unit(testing_support::BuildPath(
        QStringLiteral(CORVANE_SOURCE_DIR "/packaging/corvane-backup@.service")));
    ASSERT_TRUE(unit.open(QIODevice::ReadOnly));
    QStringList command;
    for (const QString& line : QString::fromUtf8(unit.readAll()).split('\n')) {
        if (line.startsWith("Environment=")) set(line.mid(12).split(' '));
        if (line.startsWith("EnvironmentFile="))
            set(QString::fromUtf8(FileBytes(placed(line.mid(16)))).split('\n'));
        if (line.startsWith("ExecStart=")) command = line.mid(10).split(' ');
    }
    for (QString& word : command) {
        for (auto v = env.cbegin(); v != env.cend(); ++v)
            word.replace("${" + v.key() + "}", v.value());
        word = placed(word);
    }
    ASSERT_EQ(command.value(0), "/usr/bin/corvane-scenes");
    QDir().mkpath(dir.path("stage"));
    const ProgramRun r = RunScenes(command.mid(1));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(FileBytes(dir.path("stage/") + a.device().mid(5).replace('/', '-') + "/node-3.SCN"),
              SceneBytes(DemoShow()));
    EXPECT_EQ(FileBytes(dir.path("stage/") + b.device().mid(5).replace('/', '-') + "/node-4.SCN"),
              SceneBytes(DemoShow()));
}

}  // namespace
}  // namespace corvane
