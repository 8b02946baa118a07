#!/usr/bin/env bash
# Pictures of the task program's shell screens: user selection, menu, about box,
# course, conditions (each course), start, check and final feedback, result
# list, answers and inputs, graph. Rendered headless at 96 DPI and at 144 DPI
# (Qt scale factor 1.5) from the default master data.
#
#   scripts/screenshots-zentry01.sh [OUTDIR]     (default: build/screenshots/zentry01)
#
# The build folder can be chosen with ZENTRY_BUILD_DIR (default: build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZENTRY_BUILD_DIR:-$root/build}
out=${1:-$build/screenshots/zentry01}

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target zentry_default_data test_zentry01

for pair in "96dpi 1" "144dpi 1.5"; do
  set -- $pair
  mkdir -p "$out/$1"
  ZENTRY_SCREENSHOT_DIR="$out/$1" QT_SCALE_FACTOR="$2" QT_QPA_PLATFORM=offscreen \
    "$build/tests/test_zentry01" --gtest_also_run_disabled_tests --gtest_filter='ScreenshotTour.*' >/dev/null
done
echo "Screenshots in $out"
ls "$out"/*
