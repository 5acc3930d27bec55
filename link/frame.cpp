// Request and reply frames, their 8-bit checksum, and the code array the checksum runs over.
#include "link/frame.h"

#include <algorithm>
#include <stdexcept>

#include "link/hex.h"

namespace corvane {

int32_t DxStrToArray(std::string_view text, CodeArray& codes) {
    const size_t count = std::min(text.size(), codes.size());
    for (size_t i = 0; i < count; ++i) codes[i] = static_cast<unsigned char>(text[i]);
    return static_cast<int32_t>(count);
}

int16_t FrameChecksum(const CodeArray& codes, int32_t first, int32_t count) {
    const int32_t begin = std::max(first, 0);
    const int32_t end = std::min(count, kCodeArraySize);
    int32_t s = kChecksumSeed;
    for (int32_t i = begin; i < end; ++i) {
        if (s & 1) s += 256;
        s /= 2;
        // A code outside 0-255 cannot come from DxStrToArray; keep the sum 8-bit regardless.
        s = (s + codes[static_cast<size_t>(i)]) & 0xFF;
    }
    return static_cast<int16_t>(s);
}

std::string BuildRequestFrame(int16_t node, std::string_view command) {
    std::string body = Hex2(node);
    body.append(command);
    body.push_back(']');
    if (body.size() > static_cast<size_t>(kCodeArraySize))
        throw std::length_error("request body of " + std::to_string(body.size()) +
                                " characters does not fit the " + std::to_string(kCodeArraySize) +
                                "-character code array");
    CodeArray codes{};
    const int32_t count = DxStrToArray(body, codes);
    return "[" + Hex2(FrameChecksum(codes, 0, count)) + body;
}

bool ReplyAccepted(std::string_view reply, CodeArray& codes) {
    const int32_t checkValue = reply.size() > 1 ? HexVal(reply.substr(1, 2)) : 0;
    const int32_t count = DxStrToArray(reply, codes);
    const int16_t sum = FrameChecksum(codes, 3, count);
    if (reply.starts_with(kAcknowledgement)) return true;
    // Characters past the array would go unsummed: such a reply cannot be vouched for.
    const bool summedWhole = reply.size() <= codes.size();
    return summedWhole && checkValue == sum;
}

bool ReplyAccepted(std::string_view reply) {
    CodeArray codes{};
    return ReplyAccepted(reply, codes);
}

}  // namespace corvane
