// Standard output as the commands write it, every write checked.
#include "cli/standard_output.h"

#include <cerrno>

#include "document/plain_reason.h"

namespace corvane::cli {

void StandardOutput::write(std::string_view text) {
    if (error_ != 0 || stream_ == nullptr || text.empty()) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size())
        error_ = errno != 0 ? errno : EIO;
}

void StandardOutput::flush() {
    if (error_ != 0 || stream_ == nullptr) return;
    errno = 0;
    if (std::fflush(stream_) != 0) error_ = errno != 0 ? errno : EIO;
}

std::string StandardOutput::close() {
    if (stream_ != nullptr) {
        errno = 0;
        if (std::fflush(stream_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
        if (std::ferror(stream_) != 0 && error_ == 0) error_ = EIO;
        errno = 0;
        if (std::fclose(stream_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
        stream_ = nullptr;
    }
    return error_ == 0 ? std::string() : PlainReasonFor(error_).toStdString();
}

}  // namespace corvane::cli
