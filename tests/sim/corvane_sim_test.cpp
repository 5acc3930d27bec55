// corvane-sim as a user runs it: a separate process, its device on the first line, signals to stop.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <sys/stat.h>

#include "document/scene_file.h"
#include "sim/demo_show.h"
#include "tests/sim/raw_client.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;

const std::string kReadBlock0 = "[DD0139700003F]";  // node 01, read 0x0000
const std::string kWriteBlock0Twelves = "[680138700003F" + [] {
    std::string s;
    for (int d = 0; d < 64; ++d) s += "12";
    return s;
}() + "]";  // node 01, write 0x0000, every level 0x12

// Starts corvane-sim and reads the device from its first line.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& args) {
        process_.start(QStringLiteral(CORVANE_SIM_PROGRAM), args);
        if (!process_.waitForStarted(5000)) return;
        // A program that never prints its device fails the test here instead of hanging it.
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!process_.canReadLine() && process_.state() == QProcess::Running &&
               std::chrono::steady_clock::now() < deadline)
            process_.waitForReadyRead(100);
        if (!process_.canReadLine()) return;
        device_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
    }
    ~SimProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    const std::string& device() const { return device_; }
    void signal(int sig) { ::kill(static_cast<pid_t>(process_.processId()), sig); }
    // Exit status once it has ended by itself within the time given; -1 if it has not.
    int exitWithin(int ms) {
        if (!process_.waitForFinished(ms) || process_.exitStatus() != QProcess::NormalExit)
            return -1;
        return process_.exitCode();
    }
    QString errorOutput() { return QString::fromUtf8(process_.readAllStandardError()); }

  private:
    QProcess process_;
    std::string device_;
};

// Runs corvane-sim to its end and returns its exit status and what it said on standard error.
std::pair<int, QString> RunToEnd(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(CORVANE_SIM_PROGRAM), args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
        return {-1, {}};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(CorvaneSim, PrintsDeviceFirstAndServesTheBuiltInShow) {
    SimProcess sim({});
    ASSERT_EQ(sim.device().rfind("/dev/", 0), 0u) << sim.device();
    RawClient client(sim.device());
    ASSERT_TRUE(client.send(kReadBlock0));
    // Scene 1 of the built-in show is full: 64 x FF.
    EXPECT_EQ(client.receive(132, 2s), "[C0" + std::string(128, 'F') + "]");
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.exitWithin(5000), 0);
}

TEST(CorvaneSim, SavesMemoryOnSigterm) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("after.SCN"));
    SimProcess sim({QStringLiteral("--save"), saved});
    RawClient client(sim.device());
    ASSERT_TRUE(client.send(kWriteBlock0Twelves));
    ASSERT_EQ(client.receive(6, 2s), "{--}01");
    sim.signal(SIGTERM);
    ASSERT_EQ(sim.exitWithin(5000), 0) << sim.errorOutput().toStdString();

    SceneTable expected = DemoShow();
    for (int d = 0; d < kDimmerCount; ++d) expected(0, d) = 0x12;
    SceneTable got;
    QString error;
    ASSERT_TRUE(LoadSceneFile(saved, got, &error)) << error.toStdString();
    EXPECT_EQ(got, expected);
}

TEST(CorvaneSim, SavesOnSigintToo) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("after.SCN"));
    SimProcess sim({QStringLiteral("--save"), saved});
    ASSERT_FALSE(sim.device().empty());
    sim.signal(SIGINT);
    ASSERT_EQ(sim.exitWithin(5000), 0);
    EXPECT_EQ(QFile(saved).size(), kSceneFileSize);
}

TEST(CorvaneSim, SeveralNodesKeepAndSaveMemoriesOfTheirOwn) {
    QTemporaryDir dir;
    SimProcess sim({QStringLiteral("--node"), QStringLiteral("3,17"), QStringLiteral("--save"),
                    dir.filePath(QStringLiteral("after.SCN"))});
    RawClient client(sim.device());
    ASSERT_TRUE(client.send("[321138700003F" + std::string(128, '0') + "]"));  // node 11 (17), write 0x0000
    ASSERT_EQ(client.receive(6, 2s), "{--}11");
    sim.signal(SIGTERM);
    ASSERT_EQ(sim.exitWithin(5000), 0) << sim.errorOutput().toStdString();
    SceneTable node3;
    SceneTable node17;
    QString error;
    ASSERT_TRUE(LoadSceneFile(dir.filePath(QStringLiteral("after-3.SCN")), node3, &error)) << error.toStdString();
    ASSERT_TRUE(LoadSceneFile(dir.filePath(QStringLiteral("after-17.SCN")), node17, &error)) << error.toStdString();
    EXPECT_EQ(node3, DemoShow());
    SceneTable expected = DemoShow();
    for (int d = 0; d < kDimmerCount; ++d) expected(0, d) = 0;
    EXPECT_EQ(node17, expected);
}

TEST(CorvaneSim, LoadsSceneFileAndAnswersForItsNode) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("show.SCN"));
    SceneTable show;
    show.fill(0);
    QString error;
    ASSERT_TRUE(SaveSceneFile(path, show, &error));
    SimProcess sim({QStringLiteral("--load"), path, QStringLiteral("--node"), QStringLiteral("7")});
    RawClient client(sim.device());
    ASSERT_TRUE(client.send(kReadBlock0));        // node 01: not for this one
    ASSERT_TRUE(client.send("[D30739700003F]"));  // node 07, read 0x0000
    EXPECT_EQ(client.receive(132, 2s), "[6A" + std::string(128, '0') + "]");
}

TEST(CorvaneSim, CloseFaultHangsUpAndEnds) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("after.SCN"));
    SimProcess sim(
        {QStringLiteral("--fault"), QStringLiteral("1:close"), QStringLiteral("--save"), saved});
    RawClient client(sim.device());
    ASSERT_TRUE(client.send(kReadBlock0));
    ASSERT_EQ(client.receive(132, 2s).size(), 132u);
    ASSERT_TRUE(client.send("[9E0139700403F]"));  // block 1
    EXPECT_TRUE(client.hangsUpWithin(2s));
    EXPECT_EQ(sim.exitWithin(5000), 0);
    EXPECT_EQ(QFile(saved).size(), kSceneFileSize);
}

TEST(CorvaneSim, RefusesFilesAControllerCouldNotHold) {
    QTemporaryDir dir;
    const QString high = dir.filePath(QStringLiteral("high.SCN"));
    QString error;
    ASSERT_TRUE(SaveSceneFile(high, SceneTable::with({{2, 3, 300}}), &error));
    const QString shortFile = dir.filePath(QStringLiteral("short.SCN"));
    const QString longFile = dir.filePath(QStringLiteral("long.SCN"));
    for (const auto& [path, size] : {std::pair{shortFile, 100}, std::pair{longFile, 9000}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, '\0'));
    }
    const QString missing = dir.filePath(QStringLiteral("missing.SCN"));

    const struct {
        QString path;
        QString message;
    } cases[] = {
        {high,
         high +
             " cannot be loaded: scene 3, dimmer 4 has level 300; a controller holds only levels "
             "0 to 255.\n"},
        {shortFile, "Could not open " + shortFile +
                        ": the file is shorter than a scene file (100 of 8192 bytes).\n"},
        {longFile, longFile + " is not a scene file: it is 9000 bytes long, a scene file 8192.\n"},
        {missing, "Could not open " + missing + ": the file does not exist.\n"},
    };
    for (const auto& c : cases) {
        const auto [status, said] = RunToEnd({QStringLiteral("--load"), c.path});
        EXPECT_EQ(status, 1) << c.path.toStdString();
        EXPECT_EQ(said.toStdString(), ("corvane-sim: " + c.message).toStdString());
    }
}

TEST(CorvaneSim, RefusesASavePathThatCannotTakeTheMemoryBeforeItStarts) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString noFolder = dir.filePath(QStringLiteral("no such folder/after.SCN"));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {noFolder, "the folder does not exist"},
        {pipe, "it is not a regular file (it is a named pipe)"},
        {dir.path(), "it is a folder"},
    };
    for (const auto& c : cases) {
        const auto [status, said] = RunToEnd({QStringLiteral("--save"), c.path});
        EXPECT_EQ(status, 1) << c.path.toStdString();
        EXPECT_EQ(said.toStdString(),
                  QStringLiteral("corvane-sim: Could not save %1: %2.\n").arg(c.path, c.reason).toStdString());
    }
}

TEST(CorvaneSim, RefusesWrongCommandLineWithStatusTwo) {
    const auto [status, said] = RunToEnd({QStringLiteral("--node"), QStringLiteral("255")});
    EXPECT_EQ(status, 2);
    EXPECT_EQ(said.toStdString(),
              "corvane-sim: --node \"255\": the node must be a node number from 1 to 254, in decimal (10) "
              "or in hexadecimal with 0x (0x0A), or several such as 3,17,20-22 (see corvane-sim --help)\n");
}

}  // namespace
}  // namespace corvane::sim
