// What a technician is told when a transfer cannot go ahead.
#include "transfer/transfer_report.h"

#include <algorithm>

#include "document/scene_names.h"

namespace corvane {
namespace {

constexpr size_t kLevelsNamed = 10;

std::string Place(const LevelOutOfRange& bad) {
    return "Scene " + SceneNumberText(bad.scene) + ", " + DimmerName(bad.dimmer) + " holds level " +
           std::to_string(bad.level);
}

}  // namespace

std::string DescribePortFailure(const std::string& device, const std::string& reason,
                                const std::string& portLabel) {
    std::string where = portLabel;
    if (!device.empty() && device != portLabel) where += " (" + device + ")";
    std::string text = "Could not use " + where + ": " + reason;
    if (text.back() != '.') text += '.';
    return text;
}

std::string DescribePortFailure(const TransferOutcome& outcome, const std::string& portLabel) {
    return DescribePortFailure(outcome.portDevice, outcome.portReason, portLabel);
}

std::string DescribeLevelOutOfRange(const TransferOutcome& outcome) {
    const std::vector<LevelOutOfRange>& bad = outcome.badLevels;
    if (bad.empty()) return {};
    if (bad.size() == 1)
        return "Nothing was sent: " + Place(bad.front()) +
               ", which a controller cannot store (levels run from 0 to 255). Set that level in "
               "the editor, then "
               "send again.";
    std::string text = "Nothing was sent: " + std::to_string(bad.size()) +
                       " levels lie outside 0 to 255, which a controller cannot store: ";
    const size_t named = std::min(bad.size(), kLevelsNamed);
    for (size_t i = 0; i < named; ++i) text += (i == 0 ? "" : "; ") + Place(bad[i]);
    if (bad.size() > named) text += "; and " + std::to_string(bad.size() - named) + " more";
    return text + ". Set those levels in the editor, then send again.";
}

std::string DescribeAttempts(const std::vector<AttemptResult>& attempts) {
    auto words = [](AttemptResult r) -> std::string {
        switch (r) {
            case AttemptResult::NoAnswer:
                return "no answer";
            case AttemptResult::TooShort:
                return "a reply too short";
            case AttemptResult::TooLate:
                return "a reply too late";
            case AttemptResult::WrongCheck:
                return "wrong check digits";
        }
        return "?";
    };
    std::string text;
    size_t i = 0;
    while (i < attempts.size()) {
        size_t same = 1;
        while (i + same < attempts.size() && attempts[i + same] == attempts[i]) ++same;
        if (!text.empty()) text += ", then ";
        text += words(attempts[i]);
        if (same > 1) text += " (" + std::to_string(same) + " attempts)";
        i += same;
    }
    return text;
}

std::string ProgressText(int block) {
    const int n = block + 1;
    return "Block: " + std::string(n < 10 ? "0" : "") + std::to_string(n) + " Of 64";
}

std::string DescribeSendConsequence(const TransferOutcome& outcome) {
    return outcome.framesSent == 0 ? "Nothing was sent."
                                   : "The controller may hold part of the show.";
}

}  // namespace corvane
