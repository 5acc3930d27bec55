#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "cli/file_identity.h"

namespace corvane::cli {

OutputFile StandardOutputAgainst(const QString& path) {
    struct stat out {};
    struct stat file {};
    if (::fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode) ||
        ::stat(QFile::encodeName(path).constData(), &file) != 0)
        return {};
    return {out.st_dev == file.st_dev && out.st_ino == file.st_ino, file.st_size};
}

}  // namespace corvane::cli
