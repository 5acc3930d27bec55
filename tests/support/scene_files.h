// Files as bytes: what a test writes before a run and reads after it, and the scene-file bytes of
// a table written out independently of the tool's own code.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "document/scene_file.h"

namespace corvane::testing_support {

// The whole file; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The table's levels in storage order, two bytes each, low byte first.
inline QByteArray SceneBytes(const SceneTable& table) {
    QByteArray bytes;
    bytes.reserve(kSceneFileSize);
    for (int16_t level : table.storage()) {
        bytes.append(static_cast<char>(level & 0xFF));
        bytes.append(static_cast<char>((level >> 8) & 0xFF));
    }
    return bytes;
}

}  // namespace corvane::testing_support
