#!/usr/bin/env bash
# Sets up a fresh Debian machine (with Japanese input: fcitx5 and Mozc; nothing
# is started or configured system-wide), builds, prepares the default data with
# a demo user and starts the task program from the program folder build/bin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh" "$root/scripts/packages-desktop.txt"
"$root/scripts/build.sh"
bin="$root/build/bin"
"$root/build/tools/zentry-mkdata" demo-user "$bin"
if [ -x "$bin/Zentry01" ]; then
  exec "$bin/Zentry01"
fi
echo "Program folder: $bin"
