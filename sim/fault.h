// Faults a simulated controller can be told to commit, per block and direction, with a count.
//
//   | kind   | what the tool sees instead of the right reply                               |
//   | drop   | nothing                                                                     |
//   | badsum | the reply with wrong check digits (a plain acknowledgement is sent framed,  |
//   |        | since "{--}" carries none)                                                  |
//   | short  | the reply without its last character                                        |
//   | late   | the right reply, but only after the late delay (beyond the tool's limit)    |
//   | extra  | the right reply followed by "\r\n"                                          |
//   | noise  | three garbage bytes, then the right reply                                   |
//   | close  | the line closes instead of the reply; the request is not carried out       |
//
// Apart from close, the request itself was received whole: a write is stored whatever happens to
// its acknowledgement, as with a real controller whose reply is lost on the way back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

enum class FaultKind { Drop, BadSum, Short, Late, Extra, Noise, Close };
enum class Direction { Any, Read, Write };

inline constexpr int kAlways = -1;
inline constexpr int kAnyNode = 0;

struct Fault {
    int block = 0;  // 0 to 63, as on the wire (the tool's progress shows block + 1)
    FaultKind kind = FaultKind::Drop;
    int count = 1;  // times it happens before the block is answered again; kAlways
    Direction direction = Direction::Any;
    int node = kAnyNode;  // on a line with several nodes, the one that commits it

    friend bool operator==(const Fault&, const Fault&) = default;
};

std::string_view FaultKindName(FaultKind kind);

// "BLOCK:KIND[:COUNT|always][:read|write][@NODE]", e.g. "5:drop:2", "63:late:always", "10:close",
// "0:badsum:1:write", "3:drop:always@17". The count defaults to 1, the node to every node served.
// On a malformed text returns nothing and puts a one-line reason in *error.
std::optional<Fault> ParseFault(std::string_view text, std::string* error);

// The faults still to commit, in the order they were added: for each request the first fault
// that matches its block, direction and node and has a count left is committed and counted down.
class FaultPlan {
  public:
    void add(const Fault& fault) { faults_.push_back(fault); }
    void clear() { faults_.clear(); }
    std::optional<FaultKind> take(int block, Direction direction, int node);

  private:
    std::vector<Fault> faults_;
};

}  // namespace corvane::sim
