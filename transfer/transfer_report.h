// What a technician is told when a transfer cannot go ahead.
#pragma once

#include <string>

#include "transfer/scene_transfer.h"

namespace corvane {

// "Could not use COM1 (/dev/ttyS0): <reason>." The label is what the port list shows.
std::string DescribePortFailure(const std::string& device, const std::string& reason,
                                const std::string& portLabel);
std::string DescribePortFailure(const TransferOutcome& outcome, const std::string& portLabel);

// "Nothing was sent: Scene 03, Dimmer 01.2 holds level 300, ..." naming the first ten levels a
// controller cannot hold and counting the rest.
std::string DescribeLevelOutOfRange(const TransferOutcome& outcome);

// What a Send that stopped did to the controller: "Nothing was sent." when no frame went out,
// "The controller may hold part of the show." once one had.
std::string DescribeSendConsequence(const TransferOutcome& outcome);

// What a failed block's attempts met, in plain words, the same ones run together:
// "no answer (3 attempts)", "no answer, then wrong check digits (2 attempts)".
std::string DescribeAttempts(const std::vector<AttemptResult>& attempts);

// "Block: 05 Of 64", the progress text of block 4.
std::string ProgressText(int block);

}  // namespace corvane
