// The scene-file loader on any bytes, whole in a buffer and a few bytes at a time: a short input
// leaves the table untouched and says why; a long enough one loads exactly its first 8192 bytes,
// and writing the table back gives those bytes.
#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "document/scene_file.h"
#include "document/scene_table.h"
#include "fuzz/rules.h"

namespace {

using corvane::SceneTable;
using corvane::fuzz::Require;

// Hands out at most chunk bytes per read, as a pipe or a slow disk may.
class TrickleDevice final : public QIODevice {
  public:
    TrickleDevice(QByteArray bytes, qint64 chunk) : bytes_(std::move(bytes)), chunk_(chunk) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* out, qint64 max) override {
        const qint64 n = std::min({max, chunk_, qint64(bytes_.size()) - at_});
        std::copy_n(bytes_.constData() + at_, n, out);
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes_;
    qint64 chunk_;
    qint64 at_ = 0;
};

// Every level different, so that any level a refused load touched shows. Worked out once.
const SceneTable& Sentinel() {
    static const SceneTable table = [] {
        SceneTable t;
        for (size_t i = 0; i < t.storage().size(); ++i)
            t.storage()[i] = static_cast<int16_t>(static_cast<uint16_t>(i * 7919u + 12345u));
        return t;
    }();
    return table;
}

void CheckLoad(QIODevice& in, const QByteArray& bytes) {
    SceneTable table = Sentinel();
    QString error;
    const bool loaded = corvane::ReadSceneData(in, table, &error);
    if (bytes.size() < corvane::kSceneFileSize) {
        Require(!loaded, "a short input does not load");
        Require(table == Sentinel(), "a short input leaves the table untouched");
        Require(!error.isEmpty(), "a short input says why it did not load");
        return;
    }
    Require(loaded, "8192 bytes or more load");
    // Scenes(s, d) is the little-endian 16-bit value at byte 2 * (64 d + s).
    for (int d = 0; d < corvane::kDimmerCount; ++d) {
        for (int s = 0; s < corvane::kSceneCount; ++s) {
            const int at = 2 * (64 * d + s);
            const auto low = static_cast<uint8_t>(bytes[at]);
            const auto high = static_cast<uint8_t>(bytes[at + 1]);
            Require(table(s, d) == static_cast<int16_t>(static_cast<uint16_t>(low | high << 8)),
                    "each level is its two bytes, low byte first, scene fastest");
        }
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    Require(corvane::WriteSceneData(out, table, &error), "a loaded table writes");
    Require(out.data() == bytes.left(corvane::kSceneFileSize),
            "writing the table back gives the first 8192 bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QBuffer whole;
    whole.setData(bytes);
    whole.open(QIODevice::ReadOnly);
    CheckLoad(whole, bytes);
    Require(whole.pos() <= corvane::kSceneFileSize, "nothing past the 8192 bytes is read");

    TrickleDevice trickle(bytes, 1 + static_cast<qint64>(size % 61));
    CheckLoad(trickle, bytes);
    return 0;
}
