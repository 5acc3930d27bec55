// One line about a request, for the simulator's --verbose log.
#pragma once

#include <string>

#include "sim/controller_engine.h"

namespace corvane::sim {

// "block 05 write: answered", "block 05 read: fault drop", or the frame (cut to 40 characters,
// control characters as \xNN) and why it was ignored.
std::string DescribeRequest(const RequestRecord& record);

}  // namespace corvane::sim
