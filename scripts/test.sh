#!/usr/bin/env bash
# Builds and runs every test (headless).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 30
# A parameter gtest cannot print shows as raw bytes in the test list: give its
# case a PrintTo or a name generator.
if ctest -N | grep -q "byte object"; then
  echo "Parameterised tests listed as raw bytes:" >&2
  ctest -N | grep "byte object" >&2
  exit 1
fi
