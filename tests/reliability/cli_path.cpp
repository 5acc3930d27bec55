// One cell of the fault matrix through corvane-scenes against a corvane-sim process.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <string>

#include "link/qt_serial_control.h"
#include "sim/fault.h"
#include "sim/memory_file.h"
#include "tests/reliability/fault_cell.h"
#include "tests/reliability/whole_or_nothing.h"
#include "tests/support/programs.h"

namespace corvane::reliability {
namespace {

using testing_support::FileBytes;
using testing_support::ProgramRun;
using testing_support::SceneBytes;
using testing_support::SimProcess;
using testing_support::WriteFile;

constexpr char kMissingDevice[] = "/dev/ttyCorvaneNoSuchAdapter0";
constexpr int kDeadlineMs = 20000;

std::optional<QByteArray> BytesIfAny(const QString& path) {
    if (!QFile::exists(path)) return std::nullopt;
    return FileBytes(path);
}

QString FaultText(const sim::Fault& f) {
    const std::string count = f.count == sim::kAlways ? "always" : std::to_string(f.count);
    const char* way = f.direction == sim::Direction::Read ? "read" : "write";
    return QString::fromStdString(std::to_string(f.block) + ":" +
                                  std::string(sim::FaultKindName(f.kind)) + ":" + count + ":" +
                                  way);
}

// Files an ordinary user must be able to use: the show folder and the show, which a get writes
// and a send reads, so that only the port stands in the way.
void OpenToOthers(const QString& folder, const QString& file) {
    ASSERT_EQ(chmod(QFile::encodeName(QFileInfo(folder).path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0777), 0);
    if (QFile::exists(file)) {
        ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0666), 0);
    }
}

void ExpectClearReport(const Cell& cell, const ProgramRun& r, const QString& device,
                       const QString& show) {
    if (r.status == 0) return;
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty()) << "failed without a word";
    const QString& last = lines.last();
    EXPECT_TRUE(last.startsWith("corvane-scenes: ")) << last.toStdString();
    for (const QString& line : lines)
        EXPECT_TRUE(line.startsWith("Block: ") || line == last)
            << "stray output: " << line.toStdString();
    // A send that never got a frame out says so; once one went out, the controller may have
    // taken part of the show.
    const QString consequence = cell.way == Way::Get ? show + " was not written."
                                : cell.isOpenFailure()
                                    ? QStringLiteral(". Nothing was sent.")
                                    : QStringLiteral(". The controller may hold part of the show.");
    EXPECT_TRUE(last.endsWith(consequence)) << last.toStdString();

    if (cell.isOpenFailure() || cell.trouble == Trouble::Close) {
        EXPECT_EQ(r.status, 3) << r.err.toStdString();
        EXPECT_TRUE(last.contains(device))
            << "the message does not name the device: " << last.toStdString();
        if (cell.isOpenFailure()) {
            EXPECT_EQ(lines.size(), 1) << "more than one line: " << r.err.toStdString();
            EXPECT_TRUE(last.contains(OpenFailureReason(cell.trouble))) << last.toStdString();
        }
        return;
    }
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    const QString error = cell.way == Way::Get ? "Upload Error." : "Download Error.";
    EXPECT_TRUE(last.contains(error)) << last.toStdString();
    const QString block =
        QStringLiteral(", Block: %1 Of 64 failed: ").arg(cell.block + 1, 2, 10, QLatin1Char('0'));
    EXPECT_TRUE(last.contains(block))
        << "the failure names the wrong block: " << last.toStdString();
}

}  // namespace

void CheckCliCell(const Cell& cell) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("show"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("sim"));
    const QString show = dir.filePath("show/show.SCN");
    const QString loaded = dir.filePath("sim/controller.SCN");
    const QString saved = dir.filePath("sim/saved.SCN");
    WriteFile(loaded, SceneBytes(ControllerShow()));
    // A Get at the first block writes a new file; every other Get replaces one, which a failure
    // must leave whole. A Send reads its show from there.
    if (cell.way == Way::Send || cell.block != kFirstBlock) WriteFile(show, SceneBytes(ToolShow()));
    const Before before = StartingPoint(cell, BytesIfAny(show));
    const QStringList showFolder = QDir(dir.filePath("show")).entryList(QDir::Files);

    QStringList simArgs{"--load", loaded, "--save", saved};
    if (const std::optional<sim::Fault> fault = cell.fault())
        simArgs << "--fault" << FaultText(*fault);
    SimProcess sim(simArgs);
    ASSERT_FALSE(sim.device().isEmpty());

    QString device = sim.device();
    if (cell.trouble == Trouble::Missing) device = kMissingDevice;
    const QStringList args{cell.way == Way::Get ? "get" : "send", "--port", device, show};

    QtSerialControl holder;
    if (cell.trouble == Trouble::Busy) {
        holder.setDevice(device.toStdString());
        holder.setPortOpen(true);
    }
    if (cell.trouble == Trouble::NoPermission) {
        testing_support::RestrictToSerialGroup(device.toStdString());
        OpenToOthers(dir.filePath("show"), show);
    }

    QElapsedTimer timer;
    timer.start();
    const ProgramRun r = testing_support::RunProgram(
        QStringLiteral(CORVANE_SCENES_PROGRAM), args,
        {.deadlineMs = kDeadlineMs, .asOrdinaryUser = cell.trouble == Trouble::NoPermission});
    Observed after;
    after.took = std::chrono::milliseconds(timer.elapsed());
    if (cell.trouble == Trouble::Busy) {
        EXPECT_TRUE(holder.PortOpen()) << "the other program lost its port";
    }
    holder.setPortOpen(false);

    ExpectClearReport(cell, r, device, show);
    EXPECT_EQ(sim.stop(), 0) << "the simulator did not save its memory";
    std::string error;
    EXPECT_TRUE(sim::LoadMemoryFile(saved, after.memory, &error)) << error;
    after.reportedDone = r.status == 0;
    after.held = BytesIfAny(show);
    if (cell.way == Way::Send) {
        EXPECT_TRUE(after.held == std::optional(SceneBytes(ToolShow()))) << "send changed its file";
    }

    // Nothing but the show itself, and no half-written temporary file beside it.
    QStringList expectedFolder = showFolder;
    if (after.reportedDone && cell.way == Way::Get && expectedFolder.isEmpty())
        expectedFolder << "show.SCN";
    EXPECT_EQ(
        QDir(dir.filePath("show")).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
        expectedFolder.join(' ').toStdString());
    ExpectWholeOrNothing(cell, before, after);
}

}  // namespace corvane::reliability
