// Reading and writing scene files: the table's 8192 bytes, in memory and on disk.
#include "document/scene_file.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QtGlobal>
#include <cerrno>

#include "document/plain_reason.h"

namespace corvane {
namespace {

void setError(QString* error, const QString& text) {
    if (error != nullptr) *error = text;
}

QString openFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Could not open %1: %2.").arg(path, reason);
}

QString saveFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Could not save %1: %2.").arg(path, reason);
}

// Reads up to size bytes, however the device hands them out; stops early only at the end or on
// an error.
QByteArray readUpTo(QIODevice& in, qint64 size, bool* failed) {
    QByteArray data(size, '\0');
    qint64 got = 0;
    *failed = false;
    while (got < size) {
        const qint64 n = in.read(data.data() + got, size - got);
        if (n < 0) {
            *failed = true;
            break;
        }
        if (n == 0) break;
        got += n;
    }
    data.truncate(got);
    return data;
}

// The table's 8192 bytes in storage order, each level low byte first.
QByteArray sceneData(const SceneTable& table) {
    QByteArray data(kSceneFileSize, '\0');
    const SceneTable::Storage& levels = table.storage();
    for (qsizetype i = 0; i < kLevelCount; ++i) {
        const auto bits = static_cast<uint16_t>(levels[i]);
        data[2 * i] = static_cast<char>(bits & 0xFF);
        data[2 * i + 1] = static_cast<char>(bits >> 8);
    }
    return data;
}

// A device may take part of a block and refuse the rest (a disk that fills up): only a refusal
// carries the reason, so keep writing until everything is in or one comes.
bool writeAll(QIODevice& out, const QByteArray& data, QString* error) {
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = out.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            setError(error, PlainReason(out.errorString()));
            return false;
        }
        written += n;
    }
    return true;
}

}  // namespace

bool ReadSceneData(QIODevice& in, SceneTable& table, QString* error) {
    bool failed = false;
    const QByteArray data = readUpTo(in, kSceneFileSize, &failed);
    if (failed) {
        setError(error, PlainReason(in.errorString()));
        return false;
    }
    if (data.size() < kSceneFileSize) {
        setError(error, QStringLiteral("the file is shorter than a scene file (%1 of %2 bytes)")
                            .arg(data.size())
                            .arg(kSceneFileSize));
        return false;
    }
    SceneTable::Storage levels{};
    for (qsizetype i = 0; i < kLevelCount; ++i) {
        const auto low = static_cast<uint8_t>(data[2 * i]);
        const auto high = static_cast<uint8_t>(data[2 * i + 1]);
        levels[i] = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
    }
    table.storage() = levels;
    return true;
}

bool WriteSceneData(QIODevice& out, const SceneTable& table, QString* error) {
    return writeAll(out, sceneData(table), error);
}

bool LoadSceneFile(const QString& path, SceneTable& table, QString* error) {
    const QFileInfo info(path);
    if (info.isDir()) {
        setError(error, openFailure(path, QStringLiteral("it is a folder")));
        return false;
    }
    if (!info.exists()) {
        setError(error, openFailure(path, QStringLiteral("the file does not exist")));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, openFailure(path, PlainReason(file.errorString())));
        return false;
    }
    QString reason;
    if (!ReadSceneData(file, table, &reason)) {
        setError(error, openFailure(path, reason));
        return false;
    }
    return true;
}

#ifndef S_ISSOCK
// Windows keeps no sockets among its files.
#define S_ISSOCK(mode) false
#endif

namespace {

// Why path cannot take a saved file, or an empty text; with probeFolder the folder is asked to
// take a new file too.
QString saveTargetProblem(const QString& path, bool probeFolder) {
    const QFileInfo info(path);
    if (info.isDir()) return QStringLiteral("it is a folder");
    // The new file is renamed over the target whatever it is: a device node or a pipe would be
    // replaced by a plain file. stat follows a symbolic link to the file it names.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        const char* kind = S_ISCHR(st.st_mode)    ? "a character device"
                           : S_ISBLK(st.st_mode)  ? "a block device"
                           : S_ISFIFO(st.st_mode) ? "a named pipe"
                           : S_ISSOCK(st.st_mode) ? "a socket"
                                                  : "not a file";
        return QStringLiteral("it is not a regular file (it is %1)").arg(QLatin1String(kind));
    }
    if (!info.absoluteDir().exists()) return QStringLiteral("the folder does not exist");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("permission denied (the file is write-protected)");
    if (probeFolder) {
        QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".corvane-XXXXXX")));
        if (!probe.open()) {
            if (probe.errorString() == qt_error_string(EACCES))
                return QStringLiteral(
                    "permission denied (new files cannot be created in its folder)");
            return PlainReason(probe.errorString());
        }
    }
    return {};
}

}  // namespace

bool CheckSaveTarget(const QString& path, QString* error) {
    const QString problem = saveTargetProblem(path, true);
    if (problem.isEmpty()) return true;
    setError(error, saveFailure(path, problem));
    return false;
}

bool SaveFileBytes(const QString& path, const QByteArray& bytes, QString* error) {
    // The folder's room for a new file is found out by the save itself.
    const QString problem = saveTargetProblem(path, false);
    if (!problem.isEmpty()) {
        setError(error, saveFailure(path, problem));
        return false;
    }
    QSaveFile file(path);
    // The new file is written beside the old one and renamed over it, so a user who may change
    // the file but not create files in its folder cannot save there at all. Writing in place
    // instead would put the old show at risk, so that is refused and said.
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered QSaveFile loses an error of its final flush and renames a cut-short
    // file over the old one when the disk fills up.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        QString reason = PlainReason(file.errorString());
        if (file.errorString() == qt_error_string(EACCES))
            reason =
                QStringLiteral("permission denied (new files cannot be created in its folder)");
        setError(error, saveFailure(path, reason));
        return false;
    }
    QString reason;
    if (!writeAll(file, bytes, &reason)) {
        file.cancelWriting();
        setError(error, saveFailure(path, reason));
        return false;
    }
    if (!file.commit()) {
        setError(error, saveFailure(path, PlainReason(file.errorString())));
        return false;
    }
    return true;
}

bool SaveSceneFile(const QString& path, const SceneTable& table, QString* error) {
    return SaveFileBytes(path, sceneData(table), error);
}

}  // namespace corvane
