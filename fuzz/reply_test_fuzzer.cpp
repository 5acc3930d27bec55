// The reply test and HexVal on any bytes, against the rule restated in rules.h: a wrong verdict
// aborts like a crash, and the code array is never read or written past what the reply fills.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz/rules.h"
#include "link/frame.h"
#include "link/hex.h"

namespace {

using corvane::CodeArray;
using corvane::fuzz::Require;

// What a longer reply earlier in the transaction may have left in the array, codes outside
// 0-255 included: none of it may count.
void FillWithLeftovers(CodeArray& codes) {
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = static_cast<int16_t>(static_cast<uint16_t>(i * 40503u + 0x5A5Au));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    const bool expected = corvane::fuzz::ReferenceReplyAccepted(reply);

    Require(corvane::HexVal(reply) == corvane::fuzz::ReferenceHexVal(reply),
            "HexVal is the value of the leading hex digits among the first two characters");
    Require(corvane::ReplyAccepted(reply) == expected, "the reply test gives the rule's verdict");

    // On the heap, so that AddressSanitizer sees a step past either end of the array.
    auto codes = std::make_unique<CodeArray>();
    FillWithLeftovers(*codes);
    const CodeArray before = *codes;
    Require(corvane::ReplyAccepted(reply, *codes) == expected,
            "the verdict does not depend on what the array held before");
    const size_t filled = std::min(size, codes->size());
    for (size_t i = 0; i < codes->size(); ++i) {
        const int16_t want = i < filled ? static_cast<int16_t>(data[i]) : before[i];
        Require((*codes)[i] == want,
                "the array holds the reply's codes, and past them what it held before");
    }
    return 0;
}
