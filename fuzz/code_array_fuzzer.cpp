// The code array conversion, the checksum over any range of it, and request framing, on any text:
// no access outside the 401 codes, a count never above 401, and sums that follow the rule.
//
// Input: bytes 0-3 and 4-7 are the checksum's first index and count (little-endian, signed),
// byte 8 the node, the rest the text; missing bytes count as zero.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fuzz/rules.h"
#include "link/frame.h"

namespace {

using corvane::CodeArray;
using corvane::fuzz::Require;

int32_t Int32At(const uint8_t* data, size_t size, size_t at) {
    uint8_t bytes[4] = {};
    for (size_t i = 0; i < 4; ++i)
        if (at + i < size) bytes[i] = data[at + i];
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[i];
    int32_t out = 0;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

// The checksum over codes[begin, end), codes of any 16-bit value, the sum kept to 8 bits.
int ReferenceRangeSum(const CodeArray& codes, int64_t begin, int64_t end) {
    int s = 0xA5;
    for (int64_t i = begin; i < end; ++i) {
        const int rotated = ((s & 1) << 7) | (s >> 1);
        s = ((rotated + codes[static_cast<size_t>(i)]) % 256 + 256) % 256;
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t first = Int32At(data, size, 0);
    const int32_t count = Int32At(data, size, 4);
    const auto node = static_cast<int16_t>(size > 8 ? data[8] : 0);
    const std::string_view text =
        size > 9 ? std::string_view(reinterpret_cast<const char*>(data) + 9, size - 9)
                 : std::string_view();

    // On the heap, so that AddressSanitizer sees a step past either end of the array.
    auto codes = std::make_unique<CodeArray>();
    for (size_t i = 0; i < codes->size(); ++i)
        (*codes)[i] = static_cast<int16_t>(static_cast<uint16_t>(i * 977u + 0x8000u));
    const CodeArray before = *codes;

    const int32_t converted = corvane::DxStrToArray(text, *codes);
    const size_t expectedCount = std::min<size_t>(text.size(), corvane::kCodeArraySize);
    Require(converted >= 0 && static_cast<size_t>(converted) == expectedCount,
            "the count is the text's length, at most 401");
    for (size_t i = 0; i < codes->size(); ++i) {
        const int16_t want = i < expectedCount
                                 ? static_cast<int16_t>(static_cast<unsigned char>(text[i]))
                                 : before[i];
        Require((*codes)[i] == want, "each code is its character's, and the rest keep theirs");
    }

    // Any range, cut to the array; an empty one gives the seed 165.
    const int64_t begin = std::max<int64_t>(first, 0);
    const int64_t end = std::min<int64_t>(count, corvane::kCodeArraySize);
    const int16_t sum = corvane::FrameChecksum(*codes, first, count);
    Require(sum >= 0 && sum <= 255, "the checksum is 8-bit");
    Require(sum == ReferenceRangeSum(*codes, begin, end), "the checksum follows the rule");
    Require(corvane::FrameChecksum(*codes, 0, converted) ==
                corvane::fuzz::ReferenceSum(text.substr(0, expectedCount)),
            "the checksum over the converted text is the text's sum");

    // A request: "[" + check digits + node digits + command + "]", the body fitting the array.
    const std::string body = corvane::fuzz::ReferenceHex2(node) + std::string(text) + "]";
    try {
        const std::string frame = corvane::BuildRequestFrame(node, text);
        Require(body.size() <= static_cast<size_t>(corvane::kCodeArraySize),
                "a body longer than the array is refused");
        Require(
            frame == "[" + corvane::fuzz::ReferenceHex2(corvane::fuzz::ReferenceSum(body)) + body,
            "the frame is bracket, check digits over the body, body");
        // Fed back as a reply it passes, unless the three characters before the body push it
        // past what the reply test can sum whole.
        Require(corvane::ReplyAccepted(frame) ==
                    (frame.size() <= static_cast<size_t>(corvane::kCodeArraySize)),
                "a request frame passes the reply test when the array holds it whole");
    } catch (const std::length_error&) {
        Require(body.size() > static_cast<size_t>(corvane::kCodeArraySize),
                "only a body longer than the array is refused");
    }
    return 0;
}
