// What a technician is told when a transfer cannot go ahead.
#include "transfer/transfer_report.h"

#include "document/scene_names.h"

namespace corvane {

std::string DescribePortFailure(const TransferOutcome& outcome, const std::string& portLabel) {
    std::string where = portLabel;
    if (!outcome.portDevice.empty() && outcome.portDevice != portLabel) where += " (" + outcome.portDevice + ")";
    std::string text = "Could not use " + where + ": " + outcome.portReason;
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

std::string DescribeLevelOutOfRange(const TransferOutcome& outcome) {
    return "Nothing was sent: Scene " + SceneNumberText(outcome.scene) + ", " + DimmerName(outcome.dimmer) +
           " holds level " + std::to_string(outcome.level) +
           ", which a controller cannot store (levels run from 0 to 255). Set that level in the editor, then "
           "send again.";
}

}  // namespace corvane
