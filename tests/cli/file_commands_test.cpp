// show, diff, export and import as a technician runs them, and what each says about bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QSet>

#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;

TEST(ShowCommand, PrintsASceneAsTheEditorLaysItOut) {
    ShowFolder f;
    const QString file =
        f.write("a.SCN", SceneTable::with({{0, 0, 255}, {0, 16, 128}, {0, 63, 1}, {1, 0, 300}}));
    ProgramRun r = RunScenes({"show", file, "--scene", "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n');
    ASSERT_GE(lines.size(), 17);
    EXPECT_EQ(lines[0], "Scene: 01");
    EXPECT_EQ(lines[1],
              "Dimmer 01.1   100%   Dimmer 05.1    50%   Dimmer 09.1     0%   Dimmer 0D.1     0%");
    EXPECT_EQ(lines[16],
              "Dimmer 04.4     0%   Dimmer 08.4     0%   Dimmer 0C.4     0%   Dimmer 10.4     0%");

    r = RunScenes({"show", file, "--scene", "2", "--levels"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("Scene: 02\nDimmer 01.1    300   ")) << r.out.toStdString();
    r = RunScenes({"show", file, "--scene", "2"});
    EXPECT_TRUE(r.out.contains("Dimmer 01.1     ?%")) << r.out.toStdString();

    r = RunScenes({"show", file});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count("Scene: "), 64);
}

TEST(DiffCommand, ListsEachDifferingLevelAndSaysSoInItsStatus) {
    ShowFolder f;
    const QString a = f.write("a.SCN", SceneTable::with({{0, 0, 255}, {10, 20, 5}}));
    const QString b = f.write("b.SCN", SceneTable::with({{0, 0, 255}, {10, 20, 6}, {63, 63, 1}}));
    ProgramRun r = RunScenes({"diff", a, a});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    r = RunScenes({"diff", a, b});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains("Scene: 11  Dimmer 06.1       5       6\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Scene: 64  Dimmer 10.4       0       1\n"));
    EXPECT_TRUE(r.out.contains("2 levels differ."));
}

TEST(ExportImport, RoundTripTheFileByteForByte) {
    ShowFolder f;
    SceneTable t;
    for (int i = 0; i < kLevelCount; ++i)
        t.storage()[static_cast<size_t>(i)] = static_cast<int16_t>((i * 37) % 256);
    const QString original = f.write("show.SCN", t);
    ProgramRun r = RunScenes({"export", original});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    WriteFile(f.path("show.csv"), r.out.toUtf8());
    r = RunScenes({"import", f.path("show.csv"), f.path("copy.SCN")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(FileBytes(f.path("copy.SCN")), FileBytes(original));
}

TEST(BadInput, EachGetsOneLineItsStatusAndWritesNothing) {
    ShowFolder f;
    const QString good = f.write("good.SCN", SceneTable{});
    WriteFile(f.path("short.SCN"), QByteArray(100, '\0'));
    WriteFile(f.path("bad.csv"), "Scene,Dimmer 01.1\n1,2\n");
    WriteFile(f.path("keep.SCN"), QByteArray("old contents"));
    const QString shown = f.write("shown.png", SceneTable{});
    ASSERT_TRUE(QFile::link(good, f.path("link.SCN")));
    struct Case {
        QStringList args;
        QString says;
        int status = 2;       // a wrong command line
        QString output = {};  // standard output, when not the test's
    };
    const QString bothRead = "is both the file read and the file written";
    const std::vector<Case> cases = {
        {{}, "Usage: corvane-scenes COMMAND"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"show"}, "show: expected 1 file name, got 0"},
        {{"show", good, "--bogus"}, "Unknown option 'bogus'"},
        {{"show", good, "--scene", "65"}, "--scene takes a scene number from 1 to 64"},
        {{"show", f.path("missing.SCN")}, "missing.SCN", 4},
        {{"show", f.path("short.SCN")}, "shorter than a scene file (100 of 8192 bytes)", 4},
        {{"show", f.dir.path()}, "folder", 4},
        {{"diff", good}, "diff: expected 2 file names, got 1"},
        {{"get", f.path("new.SCN")}, "--port DEVICE is required"},
        {{"get", "--port", "sim", "--node", "x", f.path("new.SCN")},
         "--node: \"x\" is not a node number from 1 to 254, in decimal (10) or in hexadecimal "
         "with 0x (0x0A)"},
        {{"get", "--port", "sim", "--node", "0", f.path("new.SCN")},
         "--node: 0 is not a node: nodes are 1 to 254"},
        {{"scan", "--port", "sim", "--nodes", "3,0-2"},
         "--nodes: 0 is not a node: nodes are 1 to 254"},
        {{"backup", "--port", "sim", ""}, "backup: DIR is empty"},
        {{"scan", "--port", "com9"},
         "com9 is not one of the system ports, which are COM1 to COM8",
         3},
        {{"get", "--port", "", f.path("new.SCN")}, "--port DEVICE is required"},
        {{"show", good, "--scene", "1", "--scene", "2"}, "show: --scene was given more than once"},
        {{"get", "--port", "sim", "--port", "sim", f.path("new.SCN")},
         "get: --port was given more than once"},
        {{"get", "--help-all"}, "Unknown option 'help-all'"},
        {{"get", "--port", "/dev/corvane-no-such-adapter", f.path("new.SCN")},
         "/dev/corvane-no-such-adapter: no such device",
         3},
        {{"send", "--port", "/dev/null", good}, "corvane-scenes: Could not use /dev/null: ", 3},
        {{"send", "--port", "sim", f.path("short.SCN")}, "shorter than a scene file", 4},
        {{"import", f.path("bad.csv"), f.path("keep.SCN")},
         "Could not read " + f.path("bad.csv") + ": line 1: the header has 2 columns",
         4},
        {{"import", f.path("nothing.csv"), f.path("new.SCN")},
         "Could not read " + f.path("nothing.csv") + ": the file or its folder does not exist; " +
             f.path("new.SCN") + " was not written.",
         4},
        // One file read and written, a scene file named as another kind: before any transfer.
        {{"import", f.path("bad.csv"), f.path("bad.csv")},
         "import: \"" + f.path("bad.csv") + "\" " + bothRead},
        {{"send", "--port", "sim", "--backup", good, good}, "send: \"" + good + "\" " + bothRead},
        {{"send", "--port", "sim", "--backup", f.path("link.SCN"), good},
         "send: \"" + good + "\" and \"" + f.path("link.SCN") + "\" are the same file"},
        {{"picture", shown, shown}, "picture: \"" + shown + "\" " + bothRead},
        {{"export", good}, "export: standard output is \"" + good + "\", a file read", 2, good},
        {{"diff", f.path("keep.SCN"), good}, "diff: standard output is \"" + good, 2, good},
        {{"get", "--port", "sim", f.path("new.csv")},
         "get: \"" + f.path("new.csv") + "\" ends in .csv; a scene file would replace it."},
        {{"send", "--port", "sim", "--backup", f.path("old.PNG"), good},
         "send: \"" + f.path("old.PNG") + "\" ends in .png; a scene file would replace it."},
        {{"import", good, f.path("new.SCN")}, ": it is a scene file, not CSV; export turns", 4},
    };
    for (const Case& c : cases) {
        const ProgramRun r = RunScenes(c.args, f.dir.path(), 30000, c.output);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << what << "\nsaid: " << r.err.toStdString();
        if (!c.args.isEmpty()) {
            EXPECT_EQ(r.err.count('\n'), 1)
                << what << " said more than one line: " << r.err.toStdString();
        }
        EXPECT_TRUE(r.out.isEmpty()) << what;
    }
    EXPECT_FALSE(QFile::exists(f.path("new.SCN")));
    EXPECT_FALSE(QFile::exists(f.path("new.csv")) || QFile::exists(f.path("old.PNG")));
    EXPECT_EQ(FileBytes(f.path("keep.SCN")), QByteArray("old contents"));
    for (const QString& read : {good, shown}) EXPECT_EQ(FileBytes(read), SceneBytes(SceneTable{}));
    EXPECT_EQ(FileBytes(f.path("bad.csv")), QByteArray("Scene,Dimmer 01.1\n1,2\n"));
}

bool IsFifo(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(BadTargets, ADeviceOrPipeIsRefusedBeforeAnythingIsReadOrWritten) {
    ShowFolder f;
    const QString pipe = f.path("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    WriteFile(f.path("good.csv"),
              RunScenes({"export", f.write("good.SCN", SceneTable{})}).out.toUtf8());
    struct Case {
        QStringList args;
        QString target;
        const char* kind;
    };
    std::vector<Case> cases = {
        {{"get", "--port", "sim", pipe}, pipe, "a named pipe"},
        {{"import", f.path("good.csv"), pipe}, pipe, "a named pipe"},
    };
    const QString null = f.path("null");
    if (geteuid() == 0) {
        // Made here, never in /dev: a node with the numbers of /dev/null.
        ASSERT_EQ(mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        cases.push_back({{"get", "--port", "sim", null}, null, "a character device"});
    }
    for (const Case& c : cases) {
        const ProgramRun r = RunScenes(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 4) << what << "\n" << r.err.toStdString();
        EXPECT_EQ(r.err,
                  QStringLiteral(
                      "corvane-scenes: Could not save %1: it is not a regular file (it is %2).\n")
                      .arg(c.target, QLatin1String(c.kind)))
            << what;
    }
    EXPECT_TRUE(IsFifo(pipe));
    if (geteuid() == 0) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(null).constData(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device node was replaced";
    }
}

TEST(StandardOutput, OutputThatCannotBeWrittenIsAFileError) {
    ShowFolder f;
    const QString a = f.write("a.SCN", SceneTable::with({{0, 0, 9}}));
    const QString b = f.write("b.SCN", SceneTable{});
    for (const QStringList& args :
         {QStringList{"export", a}, QStringList{"show", a}, QStringList{"diff", a, b},
          QStringList{"show", "--help"}, QStringList{"--help"}}) {
        const ProgramRun r = RunScenes(args, QString(), 30000, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.status, 4) << args.join(' ').toStdString();
        EXPECT_EQ(r.err,
                  "corvane-scenes: Could not write to standard output: no room left on the disk\n")
            << args.join(' ').toStdString();
    }
}

TEST(Help, EveryCommandDescribesItselfAndOffersOnlyWhatWorks) {
    for (const char* command :
         {"get", "send", "show", "diff", "export", "import", "picture", "scan", "backup"}) {
        const ProgramRun r = RunScenes({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_TRUE(
            r.out.startsWith(QStringLiteral("Usage: corvane-scenes %1 [options]").arg(command)))
            << r.out.toStdString();
        EXPECT_FALSE(r.out.contains("--help-all")) << command;
        EXPECT_EQ(r.out.contains("Arguments:"), QByteArray(command) != "scan") << command;
    }
    const ProgramRun r = RunScenes({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("Exit status"));
    // The descriptions of the commands start in one column.
    QSet<qsizetype> columns;
    for (const QString& line : r.out.split('\n')) {
        if (!line.startsWith("  ")) continue;
        const qsizetype gap = line.indexOf("  ", 2);
        if (gap > 0) columns.insert(line.indexOf(QRegularExpression("\\S"), gap));
    }
    EXPECT_EQ(columns.size(), 1) << r.out.toStdString();
}

TEST(SceneFiles, WhatIsOddAboutAFileIsSaidBesideTheResult) {
    ShowFolder f;
    QByteArray longer = SceneBytes(SceneTable::with({{0, 0, 255}}));
    longer.append(QByteArray(808, 'x'));
    WriteFile(f.path("long.SCN"), longer);
    QByteArray picture(8192, '\xEE');
    WriteFile(f.path("shot.png"), picture);

    ProgramRun r = RunScenes({"show", f.path("long.SCN"), "--scene", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "corvane-scenes: " + f.path("long.SCN") +
                         " is 9000 bytes long; a scene file has 8192: the rest is ignored\n");
    EXPECT_TRUE(r.out.contains("Dimmer 01.1   100%")) << r.out.toStdString();

    r = RunScenes({"show", f.path("shot.png"), "--scene", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "corvane-scenes: " + f.path("shot.png") +
                         " holds 4096 levels outside 0 to 255, which no controller holds; is it a "
                         "scene file?\n");
}

}  // namespace
}  // namespace corvane
