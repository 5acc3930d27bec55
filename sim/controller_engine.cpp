// The protocol engine of a simulated controller.
#include "sim/controller_engine.h"

#include <cctype>

#include "link/frame.h"
#include "link/hex.h"

namespace corvane::sim {
namespace {

constexpr std::string_view kReadCommand = "397";
constexpr std::string_view kWriteCommand = "387";
constexpr std::string_view kFullBlockCount = "3F";  // 63: one less than the 64 bytes of a block
constexpr size_t kReadCommandLength = 9;
constexpr size_t kWriteCommandLength = 9 + 2 * kBlockSize;
constexpr std::string_view kExtra = "\r\n";

int16_t checksumOf(std::string_view body) {
    CodeArray codes{};
    const int32_t count = DxStrToArray(body, codes);
    return FrameChecksum(codes, 0, count);
}

}  // namespace

std::string_view VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Served:
            return "served";
        case Verdict::OtherNode:
            return "ignored: for another node";
        case Verdict::BadChecksum:
            return "ignored: wrong check digits";
        case Verdict::UnknownCommand:
            return "ignored: unknown command";
        case Verdict::BadArguments:
            return "ignored: wrong address, count or data";
        case Verdict::Malformed:
            return "ignored: too short for a frame";
        case Verdict::LineClosed:
            return "ignored: the line is closed";
    }
    return "?";
}

void ControllerEngine::addNode(int16_t node, const SceneMemory& memory) {
    if (station(node) == nullptr) stations_.push_back({node, memory});
}

std::vector<int16_t> ControllerEngine::nodes() const {
    std::vector<int16_t> served;
    for (const Station& s : stations_) served.push_back(s.node);
    return served;
}

ControllerEngine::Station* ControllerEngine::station(int node) {
    for (Station& s : stations_)
        if (s.node == node) return &s;
    return nullptr;
}

const ControllerEngine::Station* ControllerEngine::station(int node) const {
    for (const Station& s : stations_)
        if (s.node == node) return &s;
    return nullptr;
}

const SceneMemory& ControllerEngine::memory(int16_t node) const {
    const Station* s = station(node);
    return s != nullptr ? s->memory : stations_.front().memory;
}

void ControllerEngine::setMemory(int16_t node, const SceneMemory& memory) {
    if (Station* s = station(node)) s->memory = memory;
}

std::vector<Action> ControllerEngine::feed(std::string_view bytes) {
    std::vector<Action> actions;
    for (char c : bytes) {
        std::optional<std::string> frame = framer_.push(c);
        if (!frame) continue;
        if (std::optional<Action> action = serve(*frame)) actions.push_back(std::move(*action));
    }
    return actions;
}

std::string ControllerEngine::hex(uint8_t byte) const {
    std::string digits = Hex2(byte);
    if (options_.lowerCase)
        for (char& c : digits) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return digits;
}

std::string ControllerEngine::framed(std::string_view body, int checkOffset) const {
    const int sum = (checksumOf(body) + checkOffset) & 0xFF;
    return "[" + hex(static_cast<uint8_t>(sum)) + std::string(body);
}

std::string ControllerEngine::readReply(int block, int16_t node) const {
    std::string body;
    body.reserve(2 * kBlockSize + 1);
    for (uint8_t level : memory(node)[block]) body += hex(level);
    body += ']';
    return framed(body);
}

std::string ControllerEngine::acknowledgement(int16_t node) const {
    const std::string digits = hex(static_cast<uint8_t>(node));
    if (options_.ack == AckStyle::Framed) return framed(digits + "]");
    return std::string(kAcknowledgement) + digits;
}

std::optional<Action> ControllerEngine::serve(const std::string& frame) {
    if (requests_.size() == kRequestsKept) requests_.pop_front();
    ++requestCount_;
    RequestRecord& record = requests_.emplace_back();
    record.frame = frame;
    if (lineClosed_) {
        record.verdict = Verdict::LineClosed;
        return std::nullopt;
    }
    // "[" cc nn ... "]": at least six characters.
    if (frame.size() < 6) {
        record.verdict = Verdict::Malformed;
        return std::nullopt;
    }
    const std::string_view text(frame);
    const std::optional<int> check = StrictHex(text.substr(1, 2));
    if (!check || *check != checksumOf(text.substr(3))) {
        record.verdict = Verdict::BadChecksum;
        return std::nullopt;
    }
    const std::optional<int> node = StrictHex(text.substr(3, 2));
    if (!node) {
        record.verdict = Verdict::Malformed;
        return std::nullopt;
    }
    record.node = *node;
    Station* addressed = station(*node);
    if (addressed == nullptr) {
        record.verdict = Verdict::OtherNode;
        return std::nullopt;
    }

    const std::string_view command = text.substr(5, text.size() - 6);
    const std::string_view op = command.substr(0, 3);
    const bool isRead = op == kReadCommand;
    const bool isWrite = op == kWriteCommand;
    if (!isRead && !isWrite) {
        record.verdict = Verdict::UnknownCommand;
        return std::nullopt;
    }
    const std::optional<int> address =
        command.size() >= 7 ? StrictHex(command.substr(3, 4)) : std::nullopt;
    const bool goodLength = command.size() == (isRead ? kReadCommandLength : kWriteCommandLength);
    if (!goodLength || !address || *address % kBlockSize != 0 ||
        *address / kBlockSize >= kBlockCount ||
        !SameTextAnyCase(command.substr(7, 2), kFullBlockCount)) {
        record.verdict = Verdict::BadArguments;
        return std::nullopt;
    }
    const int block = *address / kBlockSize;
    Block data{};
    if (isWrite) {
        for (int d = 0; d < kBlockSize; ++d) {
            const std::optional<int> level =
                StrictHex(command.substr(9 + 2 * static_cast<size_t>(d), 2));
            if (!level) {
                record.verdict = Verdict::BadArguments;
                return std::nullopt;
            }
            data[d] = static_cast<uint8_t>(*level);
        }
    }

    record.verdict = Verdict::Served;
    record.block = block;
    record.direction = isRead ? Direction::Read : Direction::Write;
    record.fault = faults_.take(block, record.direction, addressed->node);
    if (record.fault == FaultKind::Close) {
        lineClosed_ = true;
        Action close;
        close.kind = Action::Kind::CloseLine;
        return close;
    }
    if (isWrite) addressed->memory[block] = data;
    return answer(record,
                  isRead ? readReply(block, addressed->node) : acknowledgement(addressed->node));
}

std::optional<Action> ControllerEngine::answer(RequestRecord& record, std::string reply) {
    Action action;
    if (!record.fault) {
        action.bytes = std::move(reply);
        return action;
    }
    switch (*record.fault) {
        case FaultKind::Drop:
        case FaultKind::Close:
            return std::nullopt;
        case FaultKind::BadSum: {
            // The plain acknowledgement has no check digits to spoil: send it framed instead.
            const bool plainAck = reply.starts_with(kAcknowledgement);
            const std::string body =
                plainAck ? hex(static_cast<uint8_t>(record.node)) + "]" : reply.substr(3);
            action.bytes = framed(body, 1);
            break;
        }
        case FaultKind::Short:
            reply.pop_back();
            action.bytes = std::move(reply);
            break;
        case FaultKind::Late:
            action.bytes = std::move(reply);
            action.delay = options_.lateDelay;
            break;
        case FaultKind::Extra:
            // Two endings, so that the characters added always spoil a framed reply's sum
            // (a reply starting "{--}" is accepted whatever follows, as the tool's rule says).
            action.bytes = reply + std::string(kExtra);
            if (ReplyAccepted(action.bytes) && !reply.starts_with(kAcknowledgement))
                action.bytes = reply + std::string(kExtra.substr(1));
            break;
        case FaultKind::Noise: {
            // Garbage bytes whose characters 2-3 never give the sum of what follows.
            std::string noise("\xFF\x00\xF0", 3);
            if (ReplyAccepted(noise + reply)) noise[1] = '1';
            action.bytes = noise + reply;
            break;
        }
    }
    return action;
}

}  // namespace corvane::sim
