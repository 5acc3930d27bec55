// Transfers and a search through a device server (ser2net on loopback) in front of the paced
// simulated controller.
#pragma once

namespace corvane::bench {

// Prints the figures; a line says so when ser2net is not installed.
void PrintNetworkFigures();

}  // namespace corvane::bench
