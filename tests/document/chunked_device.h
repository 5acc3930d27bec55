// A device that moves at most a few bytes per call and can run out of room, like a file on a
// filling disk or a slow pipe.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <algorithm>

namespace corvane::testing_support {

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

}  // namespace corvane::testing_support
