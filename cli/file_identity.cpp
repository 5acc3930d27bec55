#include "cli/file_identity.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace corvane::cli {

std::optional<bool> SameExistingFile(const QString& a, const QString& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(QFileInfo(a).filesystemFilePath(),
                                                  QFileInfo(b).filesystemFilePath(), error);
    if (error) return std::nullopt;
    return same;
}

}  // namespace corvane::cli
