// One line about a request, for the simulator's --verbose log.
#include "sim/request_log.h"

#include "link/hex.h"

namespace corvane::sim {
namespace {

constexpr size_t kShownFrame = 40;

std::string shown(const std::string& frame) {
    std::string out;
    for (size_t i = 0; i < frame.size() && i < kShownFrame; ++i) {
        const auto c = static_cast<unsigned char>(frame[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x" + Hex2(c);
        }
    }
    if (frame.size() > kShownFrame) out += "... (" + std::to_string(frame.size()) + " characters)";
    return out;
}

}  // namespace

std::string DescribeRequest(const RequestRecord& record) {
    if (record.verdict != Verdict::Served)
        return shown(record.frame) + ": " + std::string(VerdictName(record.verdict));
    std::string line = "block " + std::string(record.block < 10 ? "0" : "") +
                       std::to_string(record.block) +
                       (record.direction == Direction::Write ? " write: " : " read: ");
    if (record.fault) return line + "fault " + std::string(FaultKindName(*record.fault));
    return line + "answered";
}

}  // namespace corvane::sim
