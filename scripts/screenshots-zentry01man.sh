#!/usr/bin/env bash
# Pictures of the instructor utility's screens (menu, about box, user
# selection, and every screen added to its tour) at 96 and 144 DPI.
#
#   scripts/screenshots-zentry01man.sh [OUTDIR]  (default: build/screenshots/zentry01man)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZENTRY_BUILD_DIR:-$root/build}
exec "$root/scripts/screenshot-tour.sh" test_zentry01man "${1:-$build/screenshots/zentry01man}"
