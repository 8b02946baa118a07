#!/usr/bin/env bash
# Pictures of the task program's shell screens: user selection, menu, about box,
# course, conditions (each course), start, check and final feedback, result
# list, answers and inputs, graph; at 96 and 144 DPI.
#
#   scripts/screenshots-zentry01.sh [OUTDIR]     (default: build/screenshots/zentry01)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZENTRY_BUILD_DIR:-$root/build}
exec "$root/scripts/screenshot-tour.sh" test_zentry01 "${1:-$build/screenshots/zentry01}"
