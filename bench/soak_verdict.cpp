// Judges one soak transfer by the invariant.
#include "bench/soak_verdict.h"

#include <algorithm>

namespace corvane::soak {
namespace {

Verdict Violation(std::string why) {
    return {Verdict::Kind::Violation, false, std::move(why)};
}

std::string SceneDifference(const SceneTable& got, const SceneTable& due) {
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            if (got(s, d) != due(s, d))
                return "scene " + std::to_string(s + 1) + ", dimmer " + std::to_string(d + 1) +
                       " holds " + std::to_string(got(s, d)) + ", not " + std::to_string(due(s, d));
    return "";
}

sim::SceneMemory MemoryOf(const SceneTable& table) {
    sim::SceneMemory memory{};
    std::string error;
    sim::FromSceneTable(table, memory, &error);
    return memory;
}

// Checks what the failure said; "" when it is a clear report of something the faults did.
std::string FailureProblem(const Trial& trial, const Ending& e) {
    const TransferOutcome& o = e.outcome;
    switch (o.kind) {
        case TransferOutcome::Kind::BlockFailed: {
            const bool faulted =
                std::any_of(trial.faults.begin(), trial.faults.end(),
                            [&](const sim::Fault& f) { return f.block == o.block; });
            return faulted ? ""
                           : "reported block " + std::to_string(o.block) + ", which had no fault";
        }
        case TransferOutcome::Kind::PortFailed: {
            const bool closed =
                std::any_of(trial.faults.begin(), trial.faults.end(),
                            [](const sim::Fault& f) { return f.kind == sim::FaultKind::Close; });
            if (!closed) return "a port failure without a close: " + o.portReason;
            if (o.portDevice != e.device) return "the port failure names " + o.portDevice;
            return o.portReason.empty() ? "a port failure without a reason" : "";
        }
        case TransferOutcome::Kind::LevelOutOfRange:
            return "refused a level that is in range";
        case TransferOutcome::Kind::Interrupted:
            return "stopped though nothing asked it to";
        case TransferOutcome::Kind::Done:
            break;
    }
    return "";
}

// The first block the controller does not hold as sent, with every later block as it was;
// -1 when the memory is neither show in some later block.
int SentUpTo(const sim::SceneMemory& memory, const sim::SceneMemory& sent,
             const sim::SceneMemory& before) {
    int k = 0;
    while (k < sim::kBlockCount && memory[k] == sent[k]) ++k;
    for (int b = k; b < sim::kBlockCount; ++b)
        if (memory[b] != before[b]) return -1;
    return k;
}

}  // namespace

Verdict Judge(const Trial& trial, const Ending& e) {
    if (e.portLeftOpen) return Violation("the port was left open");
    const auto allowed = trial.faultedBlocks() * 3 * kAttemptLimit + kMargin;
    if (e.took > allowed)
        return Violation("took " + std::to_string(e.took.count()) + " ms, more than " +
                         std::to_string(allowed.count()) + " ms");

    const bool done = e.outcome.ok();
    if (trial.way == Way::Get) {
        if (e.memory != trial.controller) return Violation("a Get changed the controller");
        const SceneTable due = done ? sim::ToSceneTable(trial.controller) : trial.tool;
        const std::string difference = SceneDifference(e.table, due);
        if (!difference.empty())
            return Violation(std::string(done ? "reported done, but " : "failed, and ") +
                             difference);
    } else {
        const sim::SceneMemory sent = MemoryOf(trial.tool);
        const int k = SentUpTo(e.memory, sent, trial.controller);
        if (done && k != sim::kBlockCount)
            return Violation("reported done, but block " + std::to_string(k) +
                             " is not what was sent");
        if (k < 0) return Violation("the controller holds neither show in some block");
        if (e.outcome.kind == TransferOutcome::Kind::BlockFailed &&
            (k < e.outcome.block || k > e.outcome.block + 1))
            return Violation("failed at block " + std::to_string(e.outcome.block) +
                             ", but blocks up to " + std::to_string(k) + " were sent");
    }
    if (!done) {
        const std::string problem = FailureProblem(trial, e);
        if (!problem.empty()) return Violation(problem);
    }

    Verdict v;
    v.kind = done ? Verdict::Kind::Done : Verdict::Kind::ReportedFailure;
    if (done && trial.mustFail()) {
        v.unexpected = true;
        v.why = "done, although the faults allow no success";
    } else if (!done && trial.mustSucceed()) {
        v.unexpected = true;
        v.why = "failed, although the retries should have recovered";
    }
    return v;
}

}  // namespace corvane::soak
