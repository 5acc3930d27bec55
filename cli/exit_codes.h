// Exit statuses of corvane-scenes.
#pragma once

namespace corvane::cli {

inline constexpr int kDone = 0;
inline constexpr int kNoAnswer = 1;  // the controller did not answer (diff: the files differ)
inline constexpr int kUsage = 2;
inline constexpr int kPortError = 3;
inline constexpr int kFileError = 4;
inline constexpr int kDiffer = 5;  // verify, send --verify: the controller holds other levels
inline constexpr int kInterrupted = 130;  // Ctrl-C, as a shell reports a program it ended

}  // namespace corvane::cli
