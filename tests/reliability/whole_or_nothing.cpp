// The invariant of the fault matrix.
#include "tests/reliability/whole_or_nothing.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scene_files.h"

namespace corvane::reliability {
namespace {

sim::SceneMemory MemoryOf(const SceneTable& table) {
    sim::SceneMemory memory{};
    std::string error;
    EXPECT_TRUE(sim::FromSceneTable(table, memory, &error)) << error;
    return memory;
}

// The first block at which the controller's memory stops holding what was sent; 64 when all did.
int FirstBlockNotSent(const sim::SceneMemory& memory, const sim::SceneMemory& sent) {
    for (int b = 0; b < sim::kBlockCount; ++b)
        if (memory[b] != sent[b]) return b;
    return sim::kBlockCount;
}

// "" when a and b are alike, else where they first part: "no file" against a file, or the level.
std::string FirstDifference(const std::optional<QByteArray>& a,
                            const std::optional<QByteArray>& b) {
    if (a == b) return "";
    if (!a || !b)
        return std::string(a ? "a file" : "no file") + " where " + (b ? "a file" : "no file") +
               " was due";
    if (a->size() != b->size())
        return std::to_string(a->size()) + " bytes where " + std::to_string(b->size()) +
               " were due";
    for (qsizetype i = 0; i < a->size(); ++i) {
        if ((*a)[i] == (*b)[i]) continue;
        const qsizetype level = i / 2;
        return "scene " + std::to_string(level % kSceneCount + 1) + ", dimmer " +
               std::to_string(level / kSceneCount + 1) + " differs";
    }
    return "";
}

}  // namespace

SceneTable ControllerShow() {
    SceneTable t;
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            t(s, d) = static_cast<int16_t>((s * 7 + d * 13 + 1) & 0xFF);
    return t;
}

SceneTable ToolShow() {
    // Differs from the controller's show by an odd amount at every level, so never matches it.
    SceneTable t;
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            t(s, d) = static_cast<int16_t>((s * 11 + d * 5 + 128) & 0xFF);
    return t;
}

Before StartingPoint(const Cell& cell, std::optional<QByteArray> held) {
    Before before;
    before.held = cell.way == Way::Get ? std::move(held) : std::nullopt;
    before.memory = MemoryOf(ControllerShow());
    return before;
}

void ExpectWholeOrNothing(const Cell& cell, const Before& before, const Observed& after) {
    if (cell.mustFail()) {
        EXPECT_FALSE(after.reportedDone) << "reported done although every attempt failed";
    }
    if (!cell.mayFail()) {
        EXPECT_TRUE(after.reportedDone) << "the retries should have recovered";
    }

    if (cell.way == Way::Get) {
        EXPECT_EQ(after.memory, before.memory) << "a Get changed the controller";
        if (after.reportedDone) {
            EXPECT_EQ(FirstDifference(after.held, testing_support::SceneBytes(
                                                      sim::ToSceneTable(before.memory))),
                      "")
                << "reported done, but the table is not the controller's";
        } else {
            EXPECT_EQ(FirstDifference(after.held, before.held), "")
                << "a failed Get changed what the tool held";
        }
    } else {
        const sim::SceneMemory sent = MemoryOf(ToolShow());
        const int notSent = FirstBlockNotSent(after.memory, sent);
        if (after.reportedDone) {
            EXPECT_EQ(notSent, sim::kBlockCount)
                << "reported done, but block " << notSent << " is not what was sent";
        } else {
            // Blocks before the failing one hold what was sent; the failing one may have been
            // stored (its acknowledgement lost) or not; every later block is as it was.
            for (int b = notSent; b < sim::kBlockCount; ++b)
                EXPECT_EQ(after.memory[b], before.memory[b])
                    << "block " << b << " holds neither show";
            if (cell.isOpenFailure()) {
                EXPECT_EQ(notSent, 0) << "a port that never opened changed the controller";
            } else {
                EXPECT_GE(notSent, cell.block) << "blocks before the failing one were not all sent";
                EXPECT_LE(notSent, cell.block + 1) << "blocks after the failing one were sent";
            }
        }
    }

    const int failingBlocks = cell.isOpenFailure() ? 0 : 1;
    const auto allowed = failingBlocks * 3 * kAttemptLimit + kMargin;
    EXPECT_LE(after.took.count(), allowed.count())
        << "took longer than three time limits per failing block";
}

}  // namespace corvane::reliability
