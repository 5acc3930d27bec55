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

// An engine holding the known memory.
inline ControllerEngine KnownEngine(EngineOptions options = {}) {
    ControllerEngine engine(options);
    engine.setMemory(KnownMemory());
    return engine;
}

// Frames to and from node 01 holding the known memory: "[" check digits, node, command, "]";
// replies "[" check digits over the data and "]", 128 data digits, "]".
inline const std::string kZeros(128, '0');
inline const std::string kBlock63 =
    "C0C1C2C3C4C5C6C7C8C9CACBCCCDCECFD0D1D2D3D4D5D6D7D8D9DADBDCDDDEDF"
    "E0E1E2E3E4E5E6E7E8E9EAEBECEDEEEFF0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF";
inline const std::string kReadBlock0 = "[DD0139700003F]";                      // read 0x0000
inline const std::string kReadBlock63 = "[3F013970FC03F]";                     // read 0x0FC0
inline const std::string kWriteBlock0Zeros = "[FD0138700003F" + kZeros + "]";  // write 0x0000
inline const std::string kReply0 = "[6A" + kZeros + "]";
inline const std::string kReply63 = "[76" + kBlock63 + "]";

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
