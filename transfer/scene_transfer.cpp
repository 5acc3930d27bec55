// Getting the 64 scene blocks from a controller and sending them to it.
#include "transfer/scene_transfer.h"

#include <string_view>

#include "link/hex.h"
#include "link/port_error.h"

namespace corvane {

std::string ReadBlockCommand(int block) {
    return "397" + Hex4(block * 64) + "3F";
}

std::string WriteBlockCommand(int block, const SceneTable& scenes) {
    std::string text = "387" + Hex4(block * 64) + "3F";
    text.reserve(9 + 2 * kDimmerCount);
    for (int d = 0; d < kDimmerCount; ++d) text += Hex2(scenes(block, d));
    return text;
}

void OpenLine(CommControl& port, const std::string& device) {
    port.setDevice(device);
    port.setSettings(kLineSettings);
    port.setPortOpen(true);
    port.setRTSEnable(true);
    port.setDTREnable(true);
}

void CloseLine(CommControl& port) {
    try {
        port.setPortOpen(false);
    } catch (const PortError&) {
        // Already closed by the failure itself.
    }
}

void SceneTransfer::copyBlockLevels(const std::string& reply, int block, SceneTable& into) {
    const std::string_view text(reply);
    for (int d = 0; d < kDimmerCount; ++d) {
        const size_t at = 3 + 2 * static_cast<size_t>(d);
        const std::string_view pair = at < text.size() ? text.substr(at, 2) : std::string_view();
        into(block, d) = static_cast<int16_t>(HexVal(pair));
    }
}

template <typename PerBlock>
TransferOutcome SceneTransfer::run(const TransferEvents& events, PerBlock perBlock) {
    CommControl& port = link_.comCV();
    TransferOutcome outcome;
    const int framesBefore = link_.framesWritten();
    // A stop asked for while a block waits ends the wait, not only the transfer between blocks.
    link_.setStopCheck(events.stopRequested);
    int current = -1;
    try {
        OpenLine(port, device_);
        for (int block = 0; block < kSceneCount; ++block) {
            current = block;
            const bool stopped = events.stopRequested && events.stopRequested();
            if (!stopped && events.blockStarting) events.blockStarting(block);
            if (stopped || !perBlock(block)) {
                outcome.block = block;
                outcome.framesSent = link_.framesWritten() - framesBefore;
                if (stopped || link_.stoppedEarly()) {
                    outcome.kind = TransferOutcome::Kind::Interrupted;
                    break;
                }
                outcome.kind = TransferOutcome::Kind::BlockFailed;
                outcome.attempts = link_.failedAttempts();
                if (events.blockFailed) events.blockFailed(outcome);
                break;
            }
            // A block answered only on a retry may still have the timed-out attempt's reply on
            // the way; taken for the next block's, it would put one scene's levels into another.
            if (link_.replyMayFollow()) link_.drainLateReplies(kBlockTimeout);
        }
        port.setPortOpen(false);
    } catch (const PortError& e) {
        outcome.kind = TransferOutcome::Kind::PortFailed;
        outcome.block = current;
        outcome.portDevice = e.device();
        outcome.portReason = e.reason();
        CloseLine(port);
    }
    link_.setStopCheck({});
    outcome.framesSent = link_.framesWritten() - framesBefore;
    return outcome;
}

TransferOutcome SceneTransfer::getScenes(SceneTable& scenes, const TransferEvents& events) {
    // Collected apart, so a transfer that stops half-way leaves the table as it was.
    SceneTable arrived;
    TransferOutcome outcome = run(events, [&](int block) {
        if (!link_.SendCommand(ReadBlockCommand(block), kReadReplyLength, kBlockTimeout))
            return false;
        copyBlockLevels(link_.RxText, block, arrived);
        return true;
    });
    if (outcome.ok()) scenes = arrived;
    return outcome;
}

std::vector<LevelOutOfRange> LevelsOutOfRange(const SceneTable& scenes) {
    std::vector<LevelOutOfRange> bad;
    for (int s = 0; s < kSceneCount; ++s) {
        for (int d = 0; d < kDimmerCount; ++d) {
            const int level = scenes(s, d);
            if (level < 0 || level > 255) bad.push_back({s, d, level});
        }
    }
    return bad;
}

TransferOutcome SceneTransfer::sendScenes(const SceneTable& scenes, const TransferEvents& events) {
    // A level the controller cannot hold would otherwise go out as its low 8 bits. All of them
    // are named, so a damaged file is mended in one go rather than one refusal at a time.
    TransferOutcome refused;
    refused.badLevels = LevelsOutOfRange(scenes);
    if (!refused.badLevels.empty()) {
        refused.kind = TransferOutcome::Kind::LevelOutOfRange;
        return refused;
    }
    return run(events, [&](int block) {
        return link_.SendCommand(WriteBlockCommand(block, scenes), kWriteReplyLength,
                                 kBlockTimeout);
    });
}

}  // namespace corvane
