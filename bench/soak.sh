#!/usr/bin/env bash
# Builds the soak program optimised and runs it: 1000 full transfers against the simulated
# controller with seeded random faults, each judged by the invariant. Arguments go to the
# program (--seed N, --count N, --paced, --verbose). Exit status 1 when any transfer broke it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target transfer_soak
exec build/release/bench/transfer_soak "$@"
