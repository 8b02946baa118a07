#!/usr/bin/env bash
# Sets up a fresh Debian machine (with Japanese input: fcitx5 and Mozc; nothing
# is started or configured system-wide), builds, prepares the default data with
# a demo user and starts a program from the program folder build/bin: the task
# program, or with --utility the instructor utility.
#
#   bash scripts/run.sh [--utility]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=Zentry01
case "${1:-}" in
  "") ;;
  --utility) program=Zentry01Man ;;
  *) echo "usage: $0 [--utility]" >&2; exit 2 ;;
esac
"$root/scripts/install-packages.sh" "$root/scripts/packages-desktop.txt"
"$root/scripts/build.sh"
bin="$root/build/bin"
"$root/build/tools/zentry-mkdata" demo-user "$bin"
if [ -x "$bin/$program" ]; then
  exec "$bin/$program"
fi
echo "Program folder: $bin"
