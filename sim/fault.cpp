// Fault names, the fault text of the command line, and counting faults down.
#include "sim/fault.h"

#include <array>
#include <charconv>
#include <utility>

#include "document/fields.h"
#include "link/node_numbers.h"
#include "sim/scene_memory.h"

namespace corvane::sim {
namespace {

constexpr std::array<std::pair<FaultKind, std::string_view>, 7> kNames{{
    {FaultKind::Drop, "drop"},
    {FaultKind::BadSum, "badsum"},
    {FaultKind::Short, "short"},
    {FaultKind::Late, "late"},
    {FaultKind::Extra, "extra"},
    {FaultKind::Noise, "noise"},
    {FaultKind::Close, "close"},
}};

std::optional<int> decimal(std::string_view field) {
    int value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<Fault> fail(std::string* error, std::string reason) {
    if (error != nullptr) *error = std::move(reason);
    return std::nullopt;
}

}  // namespace

std::string_view FaultKindName(FaultKind kind) {
    for (const auto& [k, name] : kNames)
        if (k == kind) return name;
    return "?";
}

std::optional<Fault> ParseFault(std::string_view text, std::string* error) {
    const std::string quoted = "fault \"" + std::string(text) + "\": ";
    Fault fault;
    if (const size_t at = text.find('@'); at != std::string_view::npos) {
        const std::optional<int> node = ParseNodeNumber(text.substr(at + 1));
        if (!node) return fail(error, quoted + "after @ comes " + kNodeForms);
        fault.node = *node;
        text = text.substr(0, at);
    }
    const std::vector<std::string_view> fields = SplitFields(text, ':');
    if (fields.size() < 2 || fields.size() > 4)
        return fail(error,
                    quoted + "expected BLOCK:KIND[:COUNT][:read|write][@NODE], e.g. 5:drop:2");

    const std::optional<int> block = decimal(fields[0]);
    if (!block || *block < 0 || *block >= kBlockCount)
        return fail(error, quoted + "the block must be a number from 0 to 63");
    fault.block = *block;

    bool known = false;
    for (const auto& [kind, name] : kNames) {
        if (fields[1] == name) {
            fault.kind = kind;
            known = true;
        }
    }
    if (!known)
        return fail(error,
                    quoted + "the kind must be drop, badsum, short, late, extra, noise or close");

    if (fields.size() >= 3) {
        if (fields[2] == "always") {
            fault.count = kAlways;
        } else {
            const std::optional<int> count = decimal(fields[2]);
            if (!count || *count < 1)
                return fail(error, quoted + "the count must be a number from 1 up, or always");
            fault.count = *count;
        }
    }
    if (fields.size() == 4) {
        if (fields[3] == "read") {
            fault.direction = Direction::Read;
        } else if (fields[3] == "write") {
            fault.direction = Direction::Write;
        } else {
            return fail(error, quoted + "the direction must be read or write");
        }
    }
    return fault;
}

std::optional<FaultKind> FaultPlan::take(int block, Direction direction, int node) {
    for (Fault& f : faults_) {
        if (f.block != block || f.count == 0) continue;
        if (f.node != kAnyNode && f.node != node) continue;
        if (f.direction != Direction::Any && f.direction != direction) continue;
        if (f.count != kAlways) --f.count;
        return f.kind;
    }
    return std::nullopt;
}

}  // namespace corvane::sim
