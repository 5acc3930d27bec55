// Finds request frames in the characters arriving on the line, skipping noise between them.
#pragma once

#include <optional>
#include <string>

namespace corvane::sim {

// The longest request frame worth collecting: "[" + two check digits + the 401 body characters
// the tool can checksum. Anything longer is noise and is dropped unseen.
inline constexpr size_t kMaxRequestFrame = 3 + 401;

// A frame runs from "[" to the next "]". Characters outside a frame are dropped; a "[" inside a
// frame starts the frame again (the earlier one was cut off); an overlong frame is dropped whole.
class RequestFramer {
  public:
    // The frame that this character completes, brackets included.
    std::optional<std::string> push(char c);

  private:
    std::string frame_;
    bool inFrame_ = false;
    bool overlong_ = false;
};

}  // namespace corvane::sim
