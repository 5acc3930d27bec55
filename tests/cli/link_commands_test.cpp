// get and send against a corvane-sim process on a pseudo-terminal, and against the built-in sim.
#include <gtest/gtest.h>

#include "sim/demo_show.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

SceneTable Pattern(int seed) {
    SceneTable t;
    for (int s = 0; s < 64; ++s)
        for (int d = 0; d < 64; ++d) t(s, d) = static_cast<int16_t>((s * 5 + d * 11 + seed) & 0xFF);
    return t;
}

TEST(GetCommand, WritesTheControllersMemoryAsASceneFileShowingEachBlock) {
    QTemporaryDir dir;
    const ProgramRun r = RunScenes({"get", "--port", "SIM", dir.filePath("demo.SCN")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // The built-in simulator holds the demo show.
    EXPECT_EQ(FileBytes(dir.filePath("demo.SCN")), SceneBytes(DemoShow()));
    const QStringList progress = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(progress.size(), 65);
    EXPECT_EQ(progress.first(), "Block: 01 Of 64");
    EXPECT_EQ(progress[63], "Block: 64 Of 64");
    EXPECT_TRUE(progress.last().startsWith("Read Node: 01 on the built-in simulator (/dev/pts/") &&
                progress.last().endsWith(") into " + dir.filePath("demo.SCN") + "."));
}

TEST(SendCommand, PutsTheFileIntoTheControllerAndVerifiesIt) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("show.SCN"), SceneBytes(Pattern(3)));
    SimProcess sim({"--node", "7", "--save", dir.filePath("saved.SCN")});
    // The node as the window lists it, "Node: 07".
    const ProgramRun r = RunScenes(
        {"send", "--port", sim.device(), "--node", "0x07", "--verify", dir.filePath("show.SCN")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Verified")) << r.out.toStdString();
    EXPECT_EQ(r.err.count("Sending: Block: "), 64);
    EXPECT_EQ(r.err.count("Reading back: Block: "), 64);
    EXPECT_TRUE(r.err.endsWith("\nSent " + dir.filePath("show.SCN") + " to Node: 07 on " +
                               sim.device() + " and read it back.\n"))
        << r.err.toStdString();
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(FileBytes(dir.filePath("saved.SCN")), SceneBytes(Pattern(3)));
}

TEST(SendCommand, RefusesLevelsAControllerCannotHoldBeforeSendingAnything) {
    QTemporaryDir dir;
    SceneTable t = Pattern(4);
    t(20, 33) = 256;
    t(40, 1) = -5;
    WriteFile(dir.filePath("bad.SCN"), SceneBytes(t));
    SimProcess sim({"--save", dir.filePath("saved.SCN")});
    const ProgramRun r = RunScenes({"send", "--port", sim.device(), dir.filePath("bad.SCN")});
    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(r.err.contains("2 levels lie outside 0 to 255")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(
        "Scene 21, Dimmer 09.2 holds level 256; Scene 41, Dimmer 01.2 holds level -5."))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Block: "));
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(FileBytes(dir.filePath("saved.SCN")), SceneBytes(DemoShow()));
}

}  // namespace
}  // namespace corvane
