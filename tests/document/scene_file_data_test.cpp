// The scene file's bytes, read and written in memory: layout, every value, and damaged input.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QIODevice>
#include <algorithm>
#include <cerrno>

#include "document/scene_file.h"

namespace corvane {
namespace {

// A device that moves at most a few bytes per call and can run out of room, like a file on a
// filling disk or a slow pipe.
class ChunkedDevice final : public QIODevice {
  public:
    explicit ChunkedDevice(qint64 chunk) : chunk_(chunk) { open(QIODevice::ReadWrite); }

    QByteArray contents;   // what was written, or what is read
    qint64 capacity = -1;  // bytes it takes before refusing; -1 for no limit
    QString refusal;       // the error text of a refused write
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 max) override {
        const qint64 n = std::min({max, chunk_, qint64(contents.size()) - readAt_});
        std::copy_n(contents.constData() + readAt_, n, data);
        readAt_ += n;
        return n;
    }
    qint64 writeData(const char* data, qint64 len) override {
        qint64 room = capacity < 0 ? len : capacity - qint64(contents.size());
        if (room <= 0) {
            setErrorString(refusal);
            return -1;
        }
        const qint64 n = std::min({len, chunk_, room});
        contents.append(data, n);
        return n;
    }

  private:
    qint64 chunk_;
    qint64 readAt_ = 0;
};

QByteArray written(const SceneTable& table) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(WriteSceneData(buffer, table, &error)) << error.toStdString();
    return buffer.data();
}

bool read(const QByteArray& bytes, SceneTable& table, QString* error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadSceneData(buffer, table, error);
}

TEST(SceneFileData, RunsDimmerByDimmerWithSceneFastestToTheLastTwoBytes) {
    const SceneTable t = SceneTable::with({{0, 0, 255}, {1, 0, 128}, {0, 1, 1}, {63, 63, 0x1234}});
    QByteArray expected(8192, '\0');
    expected[0] = '\xFF';  // scene 0, dimmer 0: low byte
    expected[1] = '\x00';  //                    high byte
    expected[2] = '\x80';  // scene 1, dimmer 0
    expected[3] = '\x00';
    expected[128] = '\x01';  // scene 0, dimmer 1: after dimmer 0's 64 scenes
    expected[129] = '\x00';
    expected[8190] = '\x34';  // scene 63, dimmer 63: the last level
    expected[8191] = '\x12';
    EXPECT_EQ(written(t), expected);
}

// Values as a file holds them, written out by hand, two's complement, low byte first.
TEST(SceneFileData, ReadsSignedLittleEndianLevels) {
    struct Case {
        const char bytes[3];
        int16_t level;
    } cases[] = {
        {"\x00\x00", 0},      {"\xFF\x00", 255}, {"\x00\x01", 256},  {"\xFF\x7F", 32767},
        {"\x00\x80", -32768}, {"\xFF\xFF", -1},  {"\x38\xFF", -200},
    };
    for (const Case& c : cases) {
        QByteArray bytes(8192, '\0');
        bytes[qsizetype{2} * SceneTable::index(5, 9)] = c.bytes[0];
        bytes[qsizetype{2} * SceneTable::index(5, 9) + 1] = c.bytes[1];
        SceneTable t;
        QString error;
        ASSERT_TRUE(read(bytes, t, &error)) << error.toStdString();
        EXPECT_EQ(t, SceneTable::with({{5, 9, c.level}})) << "level " << c.level;
        EXPECT_EQ(written(t), bytes) << "level " << c.level;
    }
}

// Longer input loads from its first 8192 bytes: corvane-scenes' test of a longer file holds it.
TEST(SceneFileData, ShorterInputLeavesTheTableAsItWas) {
    for (int size : {0, 1, 100, 8191}) {
        SceneTable t;
        t.fill(7);
        QString error;
        EXPECT_FALSE(read(QByteArray(size, '\x01'), t, &error)) << size;
        EXPECT_EQ(
            error,
            QStringLiteral("the file is shorter than a scene file (%1 of 8192 bytes)").arg(size));
        SceneTable sevens;
        sevens.fill(7);
        EXPECT_EQ(t, sevens) << size;
    }
}

TEST(SceneFileData, ReadsAndWritesInWhateverPiecesTheDeviceTakes) {
    SceneTable t;
    for (int i = 0; i < kLevelCount; ++i) t.storage()[i] = static_cast<int16_t>(i * 7 - 9000);
    ChunkedDevice device(1000);
    QString error;
    ASSERT_TRUE(WriteSceneData(device, t, &error)) << error.toStdString();
    EXPECT_EQ(device.contents, written(t));

    ChunkedDevice source(700);
    source.contents = written(t);
    SceneTable back;
    ASSERT_TRUE(ReadSceneData(source, back, &error)) << error.toStdString();
    EXPECT_EQ(back, t);
}

TEST(SceneFileData, AFullDiskOrADeviceThatCannotBeWrittenIsReportedNotTakenForSuccess) {
    // Takes half the data, then refuses the rest, as a file does when the disk fills up.
    ChunkedDevice device(8192);
    device.capacity = 4096;
    device.refusal = qt_error_string(ENOSPC);
    QString error;
    EXPECT_FALSE(WriteSceneData(device, SceneTable{}, &error));
    EXPECT_EQ(error, "no room left on the disk");

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    error.clear();
    EXPECT_FALSE(WriteSceneData(readOnly, SceneTable{}, &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace corvane
