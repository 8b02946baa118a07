#!/usr/bin/env bash
# Fuzzes the readers (tests/fuzz/fuzz_*.cpp) with libFuzzer under ASan and
# UBSan, each for a while, then merges the inputs that reach new code into the
# kept corpus tests/fuzz/corpus/<target>/, which test_fuzz replays with every
# test run. Needs clang and its runtime (Debian: clang, libclang-rt-14-dev);
# builds in build-fuzz. A failing input is left as build-fuzz/crash-<target>-*.
#   bench/fuzz.sh [SECONDS [TARGET...]]     default 600 s for every target
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    targets+=("${name#fuzz_}")
  done
fi
out="$root/build-fuzz"
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" -DZENTRY_FUZZ=ON \
  -DZENTRY_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" --target "${targets[@]/#/fuzz_}"
for t in "${targets[@]}"; do
  kept="$root/tests/fuzz/corpus/$t"
  work="$out/corpus/$t"
  mkdir -p "$kept" "$work"
  echo "== $t: $seconds s"
  "$out/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$out/crash-$t-" "$work" "$kept" 2>"$out/fuzz-$t.log" || {
    echo "$t: failing input, see $out/fuzz-$t.log"
    tail -n 30 "$out/fuzz-$t.log"
    exit 1
  }
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$out/fuzz-$t.log"
  "$out/fuzz/fuzz_$t" -merge=1 -max_len=4096 "$kept" "$work" 2>>"$out/fuzz-$t.log"
  echo "$t: $(ls "$kept" | wc -l) kept inputs"
done
