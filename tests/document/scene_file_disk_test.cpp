// Scene files on disk: what a save leaves behind, and the reason given when a file cannot be
// read or written, with the old file's bytes checked after every failed save.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "document/scene_file.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/scene_files.h"

namespace corvane {
namespace {

using testing_support::AsOrdinaryUser;
using testing_support::FileBytes;
using testing_support::InChild;
using testing_support::WriteFile;

// Each of the 4096 places has its own level, together covering the whole 16-bit range.
SceneTable show() {
    SceneTable t;
    for (int i = 0; i < kLevelCount; ++i)
        t.storage()[i] = static_cast<int16_t>(-32768 + 16 * i + i % 16);
    t(63, 63) = 32767;
    return t;
}

class SceneFileDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // An ordinary user must reach the files inside.
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther |
                                              QFile::ReadGroup | QFile::ExeGroup);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(SceneFileDisk, SavedFileIsExactlyTheTableEvenOverALongerFileAndLoadsBack) {
    WriteFile(path("show.SCN"), QByteArray(20000, '\x55'));
    QString error;
    ASSERT_TRUE(SaveSceneFile(path("show.SCN"), show(), &error)) << error.toStdString();
    EXPECT_EQ(FileBytes(path("show.SCN")), testing_support::SceneBytes(show()));
    SceneTable back;
    ASSERT_TRUE(LoadSceneFile(path("show.SCN"), back, &error)) << error.toStdString();
    EXPECT_EQ(back, show());
}

TEST_F(SceneFileDisk, AnUnreadableFileIsReported) {
    QString error;
    ASSERT_TRUE(SaveSceneFile(path("locked.SCN"), SceneTable{}, &error));
    QFile::setPermissions(path("locked.SCN"), QFileDevice::Permissions{});
    const QString file = path("locked.SCN");
    const auto result = AsOrdinaryUser([&] {
        SceneTable t = show();
        QString e;
        const bool loaded = LoadSceneFile(file, t, &e);
        const bool kept = t == show();
        return std::string(loaded ? "loaded" : "refused") + (kept ? " kept|" : " changed|") +
               e.toStdString();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result,
              "refused kept|Could not open " + file.toStdString() + ": permission denied.");
}

// What each kind of file system entry is, as stat sees it without following a link.
mode_t kindOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_mode & S_IFMT;
}

TEST_F(SceneFileDisk, ADevicePipeOrSocketIsNeverReplacedByASave) {
    struct Case {
        QString name;
        mode_t kind;
        const char* said;
    };
    std::vector<Case> cases{{"pipe", S_IFIFO, "a named pipe"}, {"socket", S_IFSOCK, "a socket"}};
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe")).constData(), 0666), 0);
    struct Socket {
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ~Socket() { ::close(fd); }
    } listener;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(path("socket"));
    ASSERT_LT(size_t(socketPath.size()), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(bind(listener.fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    if (geteuid() == 0) {
        // Made here, never in /dev: the numbers of /dev/null and of a loop device.
        ASSERT_EQ(mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0666, makedev(1, 3)),
                  0);
        ASSERT_EQ(mknod(QFile::encodeName(path("disk")).constData(), S_IFBLK | 0660, makedev(7, 0)),
                  0);
        cases.push_back({"null", S_IFCHR, "a character device"});
        cases.push_back({"disk", S_IFBLK, "a block device"});
    }
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(SaveSceneFile(path(c.name), show(), &error)) << c.name.toStdString();
        EXPECT_EQ(error, QStringLiteral("Could not save %1: it is not a regular file (it is %2).")
                             .arg(path(c.name), QLatin1String(c.said)));
        EXPECT_EQ(kindOf(path(c.name)), c.kind) << c.name.toStdString() << " was replaced";
    }
    // Nothing was left beside them either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(),
              qsizetype(cases.size()));
}

TEST_F(SceneFileDisk, ALinkToAShowIsFollowedAndStaysALink) {
    WriteFile(path("real.SCN"), QByteArray(8192, '\x44'));
    ASSERT_TRUE(QFile::link(path("real.SCN"), path("link.SCN")));
    QString error;
    ASSERT_TRUE(SaveSceneFile(path("link.SCN"), show(), &error)) << error.toStdString();
    EXPECT_EQ(kindOf(path("link.SCN")), S_IFLNK);
    SceneTable back;
    ASSERT_TRUE(LoadSceneFile(path("real.SCN"), back, &error));
    EXPECT_EQ(back, show());
}

// As an ordinary user: a file it may not change, in a folder where anyone may create files; and
// a file it may change, in a folder where it may not create the new file beside it.
TEST_F(SceneFileDisk, AProtectedFileOrFolderIsReportedAndTheOldFileKept) {
    const struct {
        int fileMode;
        int folderMode;
        const char* why;
    } cases[] = {
        {0x4444, 0x7777, "the file is write-protected"},
        {0x6666, 0x5555, "new files cannot be created in its folder"},
    };
    const QString file = path("show.SCN");
    const QByteArray old(8192, '\x11');
    for (const auto& c : cases) {
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700));
        QFile::remove(file);
        WriteFile(file, old);
        QFile::setPermissions(file, QFileDevice::Permissions(c.fileMode));
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(c.folderMode));
        const auto result = AsOrdinaryUser([&] {
            QString e;
            const bool saved = SaveSceneFile(file, show(), &e);
            return (saved ? "saved|" : "refused|") + e.toStdString();
        });
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700));
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, "refused|Could not save " + file.toStdString() +
                               ": permission denied (" + c.why + ").");
        EXPECT_EQ(FileBytes(file), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"show.SCN"});
    }
}

TEST_F(SceneFileDisk, AFullDiskLeavesTheOldFileWhole) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
    const QString mountPoint = path("small");
    ASSERT_TRUE(QDir(dir.path()).mkdir("small"));
    const QString file = mountPoint + "/show.SCN";
    const QByteArray old(8192, '\x33');
    // In a child with its own mount table: three pages of room, two taken by the old show.
    const auto result = InChild(
        [&]() -> std::string {
            if (unshare(CLONE_NEWNS) != 0) return "skip: no mount namespace";
            if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return "skip: mounts shared";
            if (mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", 0, "size=12k") != 0)
                return "skip: no tmpfs";
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly) || f.write(old) != old.size() || !f.flush())
                return "skip: no room";
            f.close();
            QString e;
            const bool saved = SaveSceneFile(file, show(), &e);
            const bool kept = FileBytes(file) == old;
            const QString left = QDir(mountPoint).entryList(QDir::Files | QDir::Hidden).join(",");
            return std::string(saved ? "saved|" : "refused|") + e.toStdString() +
                   (kept ? "|old kept|" : "|old changed|") + left.toStdString();
        },
        false);
    ASSERT_TRUE(result.has_value());
    if (result->rfind("skip:", 0) == 0) GTEST_SKIP() << *result;
    EXPECT_EQ(*result, "refused|Could not save " + file.toStdString() +
                           ": no room left on the disk.|old kept|show.SCN");
}

}  // namespace
}  // namespace corvane
