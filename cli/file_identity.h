// Whether two names reach one file, for the commands that must not read and write the same one.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace corvane::cli {

// Whether a and b name one existing file, through links and other names too; nothing when either
// is missing or cannot be looked at.
std::optional<bool> SameExistingFile(const QString& a, const QString& b);

// What standard output is, when it is a file on disk: whether it is the file at path, and that
// file's size (with ">", the shell has emptied it already).
struct OutputFile {
    bool isPath = false;
    qint64 size = 0;
};
OutputFile StandardOutputAgainst(const QString& path);

}  // namespace corvane::cli
