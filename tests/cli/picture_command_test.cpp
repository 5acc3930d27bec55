// corvane-scenes picture as a technician runs it from a shell with no display, and the PNG it
// writes read back pixel by pixel.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QImage>

#include "cli/show_picture.h"
#include "tests/support/programs.h"

namespace corvane {
namespace {

using namespace testing_support;
using cli::CellCentre;
using cli::kDifferenceColour;
using cli::kOutsideColour;

struct Pictures : ShowFolder {
    // No display, no platform named (unless platform is given) and no session, as under cron.
    ProgramRun picture(const QStringList& args, const QString& platform = QString()) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        if (!platform.isEmpty()) environment.insert("QT_QPA_PLATFORM", platform);
        return RunScenes(QStringList{"picture"} + args, dir.path(), 30000, QString(), environment);
    }
};

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

// The whole cell, not only its centre, so that a grid drawn off its place shows.
void ExpectCell(const QImage& image, int scene, int dimmer, QRgb colour) {
    const QPoint centre = CellCentre(scene, dimmer);
    for (const int dx : {-6, 0, 6}) {
        for (const int dy : {-6, 0, 6}) {
            EXPECT_EQ(image.pixel(centre + QPoint(dx, dy)), colour)
                << "scene " << scene << ", dimmer " << dimmer << " at +" << dx << ",+" << dy;
        }
    }
}

// Whether the legend, below the grid, has the swatch of levels outside 0 to 255.
bool LegendNamesOutside(const QImage& image) {
    for (int y = CellCentre(63, 0).y() + 10; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kOutsideColour) return true;
    return false;
}

TEST(PictureCommand, DrawsEachLevelAsItsGreyWithoutADisplay) {
    Pictures f;
    const QString file = f.write(
        "show.SCN", SceneTable::with({{0, 1, 127}, {0, 2, 255}, {37, 12, 127}, {63, 63, 255}}));
    const ProgramRun r = f.picture({file, "show.png"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.toStdString(), "");
    EXPECT_EQ(r.out, "");
    const QImage image(f.path("show.png"));
    ASSERT_FALSE(image.isNull());
    // Legible at 100%: at least 8 pixels a cell, every cell inside; small enough to mail.
    EXPECT_GE(CellCentre(0, 1).x() - CellCentre(0, 0).x(), 8);
    EXPECT_GE(CellCentre(1, 0).y() - CellCentre(0, 0).y(), 8);
    EXPECT_TRUE(image.rect().contains(CellCentre(63, 63) + QPoint(6, 6)));
    EXPECT_LT(QFileInfo(f.path("show.png")).size(), 1024 * 1024);

    ExpectCell(image, 0, 0, Grey(0));
    ExpectCell(image, 0, 1, Grey(127));
    ExpectCell(image, 0, 2, Grey(255));
    ExpectCell(image, 37, 12, Grey(127));
    ExpectCell(image, 63, 63, Grey(255));
    ExpectCell(image, 63, 62, Grey(0));
    EXPECT_FALSE(LegendNamesOutside(image));
    EXPECT_EQ(image.text("Title").toStdString(), "show.SCN");
    EXPECT_EQ(image.text("Description").toStdString(),
              "64 scenes by 64 dimmers, each cell as bright as its level.");
}

TEST(PictureCommand, MarksTheLevelsThatDifferAndDimsTheRest) {
    Pictures f;
    const QString a = f.write("a.SCN", SceneTable::with({{0, 0, 255}, {10, 20, 5}, {5, 5, 200}}));
    const QString b =
        f.write("b.SCN", SceneTable::with({{0, 0, 255}, {10, 20, 6}, {5, 5, 200}, {63, 0, 1}}));
    const ProgramRun r = f.picture({a, "--diff", b, "diff.png"});
    // Differences are the picture's news, not a failure: diff's status tells them.
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QImage image(f.path("diff.png"));
    ASSERT_FALSE(image.isNull());
    ExpectCell(image, 10, 20, kDifferenceColour);
    ExpectCell(image, 63, 0, kDifferenceColour);
    for (const auto& [scene, dimmer] : {std::pair{0, 0}, std::pair{5, 5}, std::pair{1, 1}}) {
        const QRgb equal = image.pixel(CellCentre(scene, dimmer));
        EXPECT_NE(equal, kDifferenceColour);
        EXPECT_TRUE(qRed(equal) == qGreen(equal) && qGreen(equal) == qBlue(equal)) << scene;
    }
    // Dimmed, but still brighter where the level is higher.
    EXPECT_LT(qRed(image.pixel(CellCentre(0, 0))), 128);
    EXPECT_GT(qRed(image.pixel(CellCentre(0, 0))), qRed(image.pixel(CellCentre(5, 5))));
    EXPECT_GT(qRed(image.pixel(CellCentre(5, 5))), qRed(image.pixel(CellCentre(1, 1))));
    EXPECT_FALSE(LegendNamesOutside(image));
    EXPECT_EQ(image.text("Title").toStdString(), "a.SCN compared with b.SCN");
    EXPECT_EQ(image.text("Description").toStdString(),
              "2 levels differ. Equal levels are drawn dimmed.");
}

TEST(PictureCommand, LevelsOutsideTheScaleHaveTheirOwnColourAndAreCounted) {
    Pictures f;
    const QString damaged =
        f.write("damaged.SCN", SceneTable::with({{0, 0, 300}, {1, 1, -1}, {2, 2, 255}}));
    const QString blank = f.write("blank.SCN", SceneTable{});
    ProgramRun r = f.picture({damaged, "damaged.png"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(
        r.err,
        "corvane-scenes: " + damaged +
            " holds 2 levels outside 0 to 255, which no controller holds; is it a scene file?\n");
    QImage image(f.path("damaged.png"));
    ExpectCell(image, 0, 0, kOutsideColour);
    ExpectCell(image, 1, 1, kOutsideColour);
    ExpectCell(image, 2, 2, Grey(255));
    EXPECT_TRUE(LegendNamesOutside(image));
    EXPECT_EQ(image.text("Description").toStdString(),
              "64 scenes by 64 dimmers, each cell as bright as its level. "
              "2 levels are outside 0 to 255, which no controller holds.");

    r = f.picture({blank, "both.png", "--diff", damaged});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    image = QImage(f.path("both.png"));
    ExpectCell(image, 0, 0, kOutsideColour);
    ExpectCell(image, 1, 1, kOutsideColour);
    ExpectCell(image, 2, 2, kDifferenceColour);
    EXPECT_TRUE(LegendNamesOutside(image));
    EXPECT_EQ(image.text("Description").toStdString(),
              "3 levels differ. Equal levels are drawn dimmed. "
              "2 levels are outside 0 to 255, which no controller holds.");
}

TEST(PictureCommand, RefusesBeforeWritingAnything) {
    Pictures f;
    const QString good = f.write("good.SCN", SceneTable{});
    const QByteArray show = FileBytes(good);
    WriteFile(f.path("short.SCN"), QByteArray(100, '\0'));
    WriteFile(f.path("old.png"), QByteArray("old picture"));
    ASSERT_EQ(mkfifo(QFile::encodeName(f.path("pipe.png")).constData(), 0666), 0);
    ASSERT_TRUE(QDir(f.dir.path()).mkdir("folder.png"));
    struct Case {
        QStringList args;
        int status;
        QString says;
    };
    const std::vector<Case> cases = {
        {{f.path("short.SCN"), "new.png"}, 4, "shorter than a scene file (100 of 8192 bytes)"},
        {{f.path("short.SCN"), "old.png"}, 4, "shorter than a scene file (100 of 8192 bytes)"},
        {{good, "--diff", f.path("short.SCN"), "new.png"}, 4, "shorter than a scene file"},
        {{f.path("missing.SCN"), "new.png"}, 4, "missing.SCN: the file does not exist"},
        {{good, "pipe.png"}, 4, "it is not a regular file (it is a named pipe)"},
        {{good, "folder.png"}, 4, "it is a folder"},
        {{good, "nowhere/new.png"}, 4, "the folder does not exist"},
        // The comparison meant, not a picture drawn over the show in good.SCN.
        {{f.path("short.SCN"), good}, 2, "is not a .png file name"},
        {{good}, 2, "picture: expected 2 file names, got 1"},
        {{good, "new.png", "--diff"}, 2, "Missing value after '--diff'"},
    };
    for (const Case& c : cases) {
        const ProgramRun r = f.picture(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << what << "\nsaid: " << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1)
            << what << " said more than one line: " << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(f.path("new.png")));
    EXPECT_EQ(FileBytes(f.path("old.png")), QByteArray("old picture"));
    EXPECT_EQ(FileBytes(good), show);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(f.path("pipe.png")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(PictureCommand, APlatformThatWantsADisplayIsNotAsked) {
    Pictures f;
    const QString file = f.write("show.SCN", SceneTable::with({{0, 0, 255}}));
    const ProgramRun r = f.picture({file, "show.png"}, "xcb");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ExpectCell(QImage(f.path("show.png")), 0, 0, Grey(255));
}

}  // namespace
}  // namespace corvane
