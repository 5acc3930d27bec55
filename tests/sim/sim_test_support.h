// What the simulator's tests share: a known scene memory and readable printing of actions.
#pragma once

#include <ostream>
#include <string>

#include "sim/controller_engine.h"

namespace corvane::sim {

// Block 0 all zero, block 5 holding 00 01 ... 3F, block 63 holding C0 C1 ... FF.
inline SceneMemory KnownMemory() {
    SceneMemory m{};
    for (int d = 0; d < kBlockSize; ++d) {
        m[5][d] = static_cast<uint8_t>(d);
        m[63][d] = static_cast<uint8_t>(0xC0 + d);
    }
    return m;
}

// Line text with control and high characters shown as \xNN.
inline std::string Visible(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 0xF];
        }
    }
    return out;
}

inline void PrintTo(const Action& a, std::ostream* os) {
    if (a.kind == Action::Kind::CloseLine) {
        *os << "close line";
    } else {
        *os << "send \"" << Visible(a.bytes) << "\" after " << a.delay.count() << " ms";
    }
}

inline Action Send(std::string bytes, std::chrono::milliseconds delay = {}) {
    Action a;
    a.bytes = std::move(bytes);
    a.delay = delay;
    return a;
}

inline Action CloseLine() {
    Action a;
    a.kind = Action::Kind::CloseLine;
    return a;
}

}  // namespace corvane::sim
