#!/usr/bin/env bash
# Renders a test area's disabled ScreenshotTour at 96 DPI and at 144 DPI (Qt
# scale factor 1.5), headless, from the default master data.
#
#   scripts/screenshot-tour.sh TEST_EXECUTABLE OUTDIR
#
# The build folder can be chosen with ZENTRY_BUILD_DIR (default: build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZENTRY_BUILD_DIR:-$root/build}
tests=$1
out=$2

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target zentry_default_data "$tests"

for pair in "96dpi 1" "144dpi 1.5"; do
  set -- $pair
  mkdir -p "$out/$1"
  ZENTRY_SCREENSHOT_DIR="$out/$1" QT_SCALE_FACTOR="$2" QT_QPA_PLATFORM=offscreen \
    "$build/tests/$tests" --gtest_also_run_disabled_tests --gtest_filter='ScreenshotTour.*' >/dev/null
done
echo "Screenshots in $out"
ls "$out"/*
