#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need
# (scripts/packages.txt), and those of any further lists given, e.g.
#   scripts/install-packages.sh scripts/packages-desktop.txt
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -q
# shellcheck disable=SC2046
$sudo_cmd apt-get install -y -q --no-install-recommends $(cat "$here/packages.txt" "$@" | grep -v '^#')
