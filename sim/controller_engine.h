// The protocol engine of a simulated controller: requests in, replies out, no I/O and no clock.
//
// Requests it serves (node nn, address aaaa = Hex4(block * 64), block 0 to 63):
//   | read block  | "[" cc nn "397" aaaa "3F" "]"               | reply "[" cc + 128 data digits +
//   "]" | | write block | "[" cc nn "387" aaaa "3F" + 128 digits "]"  | the acknowledgement, 6
//   characters   |
// The reply's cc covers the characters after it, so it passes the tool's reply test. The plain
// acknowledgement is "{--}" followed by the node's two digits ("{--}01"); the framed one is
// "[" cc nn "]", a reply with its own check digits ("[0501]" style).
//
// Everything else is ignored without an answer, as a controller on a shared line does: frames for
// other nodes, wrong check digits, unknown commands, addresses that are not a block start, writes
// without exactly 64 data bytes, and any noise between frames.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fault.h"
#include "sim/request_framer.h"
#include "sim/scene_memory.h"

namespace corvane::sim {

enum class AckStyle { Plain, Framed };

struct EngineOptions {
    int16_t node = 1;  // 1 to 254: the node served first (ControllerEngine::addNode serves more)
    bool lowerCase = false;
    AckStyle ack = AckStyle::Plain;
    // How long a late reply is held back: beyond the tool's 1000 ms limit per attempt.
    std::chrono::milliseconds lateDelay{1200};
};

// What to do once the request's last character has arrived.
struct Action {
    enum class Kind { Send, CloseLine };
    Kind kind = Kind::Send;
    std::string bytes;
    std::chrono::milliseconds delay{0};

    friend bool operator==(const Action&, const Action&) = default;
};

enum class Verdict {
    Served,          // a read or write for this node (answered unless a fault says otherwise)
    OtherNode,       // a valid frame for another node
    BadChecksum,     // check digits missing, not hexadecimal, or not matching
    UnknownCommand,  // neither a block read nor a block write
    BadArguments,    // a block command with a wrong address, count or data
    Malformed,       // too short to hold check digits and a node number
    LineClosed,      // arrived after the line was closed
};

std::string_view VerdictName(Verdict verdict);

// One request frame as it arrived, and what the engine made of it.
struct RequestRecord {
    std::string frame;
    Verdict verdict = Verdict::Malformed;
    int node = -1;                         // the node addressed, once the frame got that far
    int block = -1;                        // when Served
    Direction direction = Direction::Any;  // Read or Write when Served
    std::optional<FaultKind> fault;        // the fault committed instead of the plain answer
};

// The requests kept for looking back at: more than a Get and a Send with every retry, and a
// bound for a simulator left running for days.
inline constexpr size_t kRequestsKept = 4096;

class ControllerEngine {
  public:
    explicit ControllerEngine(EngineOptions options = {})
        : options_(options), stations_{{options.node, {}}} {}

    // Serves a further node on the same line with a memory of its own, as several controllers
    // share one line. A node already served keeps its memory.
    void addNode(int16_t node, const SceneMemory& memory);
    // The nodes served, the first one first.
    std::vector<int16_t> nodes() const;

    // Feeds characters as they arrive; returns what to do about each request they complete.
    std::vector<Action> feed(std::string_view bytes);

    const EngineOptions& options() const { return options_; }
    // The first node's memory, or the named node's (the first node's for a node not served).
    const SceneMemory& memory() const { return stations_.front().memory; }
    const SceneMemory& memory(int16_t node) const;
    void setMemory(const SceneMemory& memory) { stations_.front().memory = memory; }
    void setMemory(int16_t node, const SceneMemory& memory);
    FaultPlan& faults() { return faults_; }
    // The latest kRequestsKept requests, oldest first; requestCount() counts every one.
    const std::deque<RequestRecord>& requests() const { return requests_; }
    size_t requestCount() const { return requestCount_; }
    bool lineClosed() const { return lineClosed_; }

    // The reply a correct controller at node sends for a read of this block / for any write.
    std::string readReply(int block, int16_t node) const;
    std::string readReply(int block) const { return readReply(block, options_.node); }
    std::string acknowledgement(int16_t node) const;
    std::string acknowledgement() const { return acknowledgement(options_.node); }

  private:
    struct Station {
        int16_t node;
        SceneMemory memory;
    };
    Station* station(int node);
    const Station* station(int node) const;
    std::optional<Action> serve(const std::string& frame);
    std::optional<Action> answer(RequestRecord& record, std::string reply);
    std::string hex(uint8_t byte) const;
    std::string framed(std::string_view body, int checkOffset = 0) const;

    EngineOptions options_;
    std::vector<Station> stations_;
    FaultPlan faults_;
    RequestFramer framer_;
    std::deque<RequestRecord> requests_;
    size_t requestCount_ = 0;
    bool lineClosed_ = false;
};

}  // namespace corvane::sim
