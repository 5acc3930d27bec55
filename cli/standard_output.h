// Standard output as the commands write it. A full disk or a closed file must not pass for
// success, so every write and the final flush and close are checked.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace corvane::cli {

class StandardOutput {
  public:
    explicit StandardOutput(std::FILE* stream) : stream_(stream) {}

    // Writes text; once a write has failed, the rest is dropped.
    void write(std::string_view text);
    // Sends what was written on now, so that a log reading standard output and standard error
    // (journald) keeps their lines in order; a failure is kept for close().
    void flush();
    // Flushes and closes the stream; the reason of the first failure in plain words, or empty
    // when everything went out.
    std::string close();

  private:
    std::FILE* stream_;
    int error_ = 0;
};

}  // namespace corvane::cli
