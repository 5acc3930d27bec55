// Finds request frames in the characters arriving on the line.
#include "sim/request_framer.h"

namespace corvane::sim {

std::optional<std::string> RequestFramer::push(char c) {
    if (c == '[') {
        frame_.assign(1, c);
        inFrame_ = true;
        overlong_ = false;
        return std::nullopt;
    }
    if (!inFrame_) return std::nullopt;
    if (!overlong_) {
        frame_.push_back(c);
        if (frame_.size() > kMaxRequestFrame) {
            overlong_ = true;
            frame_.clear();
        }
    }
    if (c != ']') return std::nullopt;
    inFrame_ = false;
    if (overlong_) return std::nullopt;
    std::string done;
    done.swap(frame_);
    return done;
}

}  // namespace corvane::sim
