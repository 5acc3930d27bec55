#include <windows.h>

#include <QDir>

#include "cli/file_identity.h"

namespace corvane::cli {

// The C library's stat gives every file the same number on Windows: the volume and the file's
// index tell files apart instead.
OutputFile StandardOutputAgainst(const QString& path) {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    BY_HANDLE_FILE_INFORMATION outInfo{};
    if (out == INVALID_HANDLE_VALUE || out == nullptr || ::GetFileType(out) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(out, &outInfo))
        return {};
    const HANDLE file =
        ::CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION fileInfo{};
    const bool known = ::GetFileInformationByHandle(file, &fileInfo);
    ::CloseHandle(file);
    if (!known) return {};
    return {outInfo.dwVolumeSerialNumber == fileInfo.dwVolumeSerialNumber &&
                outInfo.nFileIndexHigh == fileInfo.nFileIndexHigh &&
                outInfo.nFileIndexLow == fileInfo.nFileIndexLow,
            static_cast<qint64>((static_cast<quint64>(fileInfo.nFileSizeHigh) << 32) |
                                fileInfo.nFileSizeLow)};
}

}  // namespace corvane::cli
