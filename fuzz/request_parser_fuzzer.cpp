// The simulated controller's request parser on any line traffic, fed one character at a time and
// all at once. Every frame it finds is one the framing rule finds; it answers exactly the valid
// reads and writes for its node, with a 132-character block or a 6-character acknowledgement that
// pass the reply test; and memory changes only by a valid write, to that write's block and data.
//
// Input: byte 0 picks the reply style (bit 0 lower-case digits, bit 1 framed acknowledgement) and
// whether every frame's check digits are set right before it is sent (bit 2: lets mutations of
// the node, command and data get past the checksum), byte 1 the node (1 + byte % 254), the rest
// is what arrives on the line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/rules.h"
#include "sim/controller_engine.h"
#include "sim/scene_memory.h"

namespace {

using corvane::fuzz::ReferenceHex2;
using corvane::fuzz::ReferenceSum;
using corvane::fuzz::Require;
namespace sim = corvane::sim;

constexpr size_t kLongestFrame = 404;  // "[", two check digits, 401 summed characters

// Frames as the line rule finds them: a "[" and everything up to the next "]", with no other
// bracket between, at most kLongestFrame characters.
std::vector<std::string> FramesOf(std::string_view line) {
    std::vector<std::string> frames;
    for (size_t open = line.find('['); open != std::string_view::npos;
         open = line.find('[', open + 1)) {
        const size_t next = line.find_first_of("[]", open + 1);
        if (next == std::string_view::npos) break;
        if (line[next] == ']' && next - open + 1 <= kLongestFrame)
            frames.emplace_back(line.substr(open, next - open + 1));
    }
    return frames;
}

// Puts the right check digits into every frame on the line long enough to hold a node number.
void SetCheckDigits(std::string& line) {
    size_t at = 0;
    for (const std::string& frame : FramesOf(line)) {
        at = line.find(frame, at);
        if (frame.size() >= 6)
            line.replace(at + 1, 2, ReferenceHex2(ReferenceSum(frame.substr(3))));
        at += frame.size();
    }
}

std::optional<int> HexNumber(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

struct Request {
    enum class Kind { Ignored, Read, Write };
    Kind kind = Kind::Ignored;
    int block = -1;
    sim::Block data{};
};

// "[" cc nn "397" aaaa "3F" "]" or "[" cc nn "387" aaaa "3F" + 128 digits "]": cc the sum of
// everything after it, nn this node, aaaa a block start below 4096, digits of either case.
Request Classify(std::string_view frame, int node) {
    Request r;
    const bool read = frame.size() == 15 && frame.substr(5, 3) == "397";
    const bool write = frame.size() == 143 && frame.substr(5, 3) == "387";
    if (!read && !write) return r;
    const std::optional<int> check = HexNumber(frame.substr(1, 2));
    const std::optional<int> nodeNumber = HexNumber(frame.substr(3, 2));
    const std::optional<int> address = HexNumber(frame.substr(8, 4));
    const std::optional<int> lastByte = HexNumber(frame.substr(12, 2));
    if (!check || *check != ReferenceSum(frame.substr(3)) || nodeNumber != node || !address ||
        *address % 64 != 0 || *address >= 4096 || lastByte != 0x3F || frame.back() != ']')
        return r;
    for (size_t d = 0; write && d < r.data.size(); ++d) {
        const std::optional<int> level = HexNumber(frame.substr(14 + 2 * d, 2));
        if (!level) return r;
        r.data[d] = static_cast<uint8_t>(*level);
    }
    r.kind = read ? Request::Kind::Read : Request::Kind::Write;
    r.block = *address / 64;
    return r;
}

std::string Digits(int v, bool lowerCase) {
    std::string text = ReferenceHex2(v);
    if (lowerCase)
        for (char& c : text)
            if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ExpectedReadReply(const sim::Block& block, bool lowerCase) {
    std::string body;
    for (const uint8_t level : block) body += Digits(level, lowerCase);
    body += ']';
    return "[" + Digits(ReferenceSum(body), lowerCase) + body;
}

std::string ExpectedAcknowledgement(const sim::EngineOptions& options) {
    const std::string node = Digits(options.node, options.lowerCase);
    if (options.ack == sim::AckStyle::Plain) return "{--}" + node;
    return "[" + Digits(ReferenceSum(node + "]"), options.lowerCase) + node + "]";
}

// Every block different, so that a reply or write to the wrong block shows. Worked out once.
const sim::SceneMemory& StartingMemory() {
    static const sim::SceneMemory memory = [] {
        sim::SceneMemory m{};
        for (size_t b = 0; b < m.size(); ++b)
            for (size_t d = 0; d < m[b].size(); ++d)
                m[b][d] = static_cast<uint8_t>(b * 37 + d * 11 + 5);
        return m;
    }();
    return memory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::EngineOptions options;
    options.lowerCase = size > 0 && (data[0] & 1) != 0;
    options.ack = size > 0 && (data[0] & 2) != 0 ? sim::AckStyle::Framed : sim::AckStyle::Plain;
    options.node = static_cast<int16_t>(1 + (size > 1 ? data[1] % 254 : 0));
    std::string traffic =
        size > 2 ? std::string(reinterpret_cast<const char*>(data) + 2, size - 2) : std::string();
    if (size > 0 && (data[0] & 4) != 0) SetCheckDigits(traffic);
    const std::string_view line(traffic);

    const std::vector<std::string> frames = FramesOf(line);
    sim::ControllerEngine engine(options);
    engine.setMemory(StartingMemory());
    // What memory must hold: changed only by the valid writes found so far.
    sim::SceneMemory expected = StartingMemory();
    std::vector<sim::Action> sent;
    size_t seen = 0;
    for (const char c : line) {
        const std::vector<sim::Action> actions = engine.feed(std::string_view(&c, 1));
        const auto& records = engine.requests();
        Require(records.size() == seen || records.size() == seen + 1,
                "one character completes at most one frame");
        if (records.size() == seen) {
            Require(actions.empty(), "no answer without a completed frame");
            continue;
        }
        const sim::RequestRecord& record = records[seen];
        Require(seen < frames.size() && record.frame == frames[seen],
                "the frames found are the ones the framing rule finds, in order");
        ++seen;
        const Request request = Classify(record.frame, options.node);
        if (request.kind == Request::Kind::Ignored) {
            Require(record.verdict != sim::Verdict::Served, "an invalid frame is not served");
            Require(actions.empty(), "an invalid frame gets no answer");
            Require(engine.memory() == expected, "an invalid frame changes no memory");
            continue;
        }
        Require(record.verdict == sim::Verdict::Served, "a valid read or write is served");
        Require(record.block == request.block, "the block served is the one addressed");
        Require(actions.size() == 1 && actions[0].kind == sim::Action::Kind::Send &&
                    actions[0].delay.count() == 0,
                "a served request gets one answer, at once");
        const std::string& reply = actions[0].bytes;
        Require(corvane::fuzz::ReferenceReplyAccepted(reply), "every answer passes the reply test");
        if (request.kind == Request::Kind::Read) {
            Require(reply.size() == 132, "a block reply is 132 characters");
            Require(reply == ExpectedReadReply(expected[static_cast<size_t>(request.block)],
                                               options.lowerCase),
                    "a block reply carries the block's bytes");
        } else {
            Require(reply.size() == 6, "an acknowledgement is 6 characters");
            Require(reply == ExpectedAcknowledgement(options),
                    "the acknowledgement names the node");
            expected[static_cast<size_t>(request.block)] = request.data;
        }
        Require(engine.memory() == expected, "only a write changes memory: its block, to its data");
        sent.push_back(actions[0]);
    }
    Require(seen == frames.size(), "every frame on the line is found");
    Require(engine.memory() == expected, "memory changes only when a frame completes");

    // The same traffic in one piece is served the same way.
    sim::ControllerEngine whole(options);
    whole.setMemory(StartingMemory());
    Require(whole.feed(line) == sent, "the answers do not depend on how the line is cut");
    Require(whole.memory() == engine.memory(), "nor does the memory");
    return 0;
}
