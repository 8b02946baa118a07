#!/usr/bin/env bash
# Long form of the two-writers test (TwoWriters runs 2 x 100 writes with every
# test run): two processes write one user database at the same time through
# the programs' own operations, 500 writes each by default.
#   bench/two-writers.sh [WRITES_PER_PROCESS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
writes=${1:-500}
cmake --build "$root/build" --target test_zentry01
ZENTRY_WRITERS_WRITES=$writes QT_QPA_PLATFORM=offscreen \
  "$root/build/tests/test_zentry01" --gtest_filter='TwoWriters.*'
