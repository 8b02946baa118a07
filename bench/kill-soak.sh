#!/usr/bin/env bash
# Long form of the kill-anywhere soak (the test KillSoak runs a short form with
# every test run): a child process runs trials of every task through the real
# task screens and is killed with SIGKILL at random moments; the records are
# checked after every kill.
#   bench/kill-soak.sh [KILLS [SEED]]     default 100 kills, a fresh seed
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-100}
seed=${2:-$((RANDOM * 32768 + RANDOM))}
cmake --build "$root/build" --target test_zentry01 zentry-tool zentry_default_data
echo "kill soak: $kills kills, seed $seed"
ZENTRY_SOAK_KILLS=$kills ZENTRY_SOAK_SEED=$seed QT_QPA_PLATFORM=offscreen \
  "$root/build/tests/test_zentry01" --gtest_filter='KillSoak.*'
