#!/usr/bin/env bash
# Checks that upgrading the package keeps the data: builds the package of an
# older commit (which must have scripts/package.sh) and of this tree, installs
# the old one, fills /var/lib/zentry01 with users and trials, upgrades, and
# compares the trial histories and files before and after. Needs root (or
# sudo); leaves the new package installed.
#
#   bash scripts/package-upgrade.sh OLD_COMMIT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
old=${1:?usage: $0 OLD_COMMIT}
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
folder=/var/lib/zentry01
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d)
trap 'git -C "$root" worktree remove --force "$work/old" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

git -C "$root" worktree add --detach "$work/old" "$old" >/dev/null
bash "$work/old/scripts/package.sh"
old_deb=$(ls "$work"/old/dist/zentry01_*.deb)
bash "$root/scripts/package.sh"
new_deb=$(ls -t "$root"/dist/zentry01_*.deb | head -1)
echo "Upgrade: $(basename "$old_deb") -> $(basename "$new_deb")"

$sudo_cmd apt-get install -y -q --allow-downgrades "$old_deb"
# The first start creates the user database from the shipped template.
$sudo_cmd env QT_QPA_PLATFORM=offscreen timeout 5 Zentry01 >/dev/null 2>&1 || true
$sudo_cmd zentry-tool import --folder "$folder" --from "$root/tests/data/export"
$sudo_cmd mkdir -p "$folder/解析結果"
echo "kept" | $sudo_cmd tee "$folder/解析結果/upgrade-probe.txt" >/dev/null

snapshot() {
  # The import numbers the users from 1.
  for user in 1 2; do
    $sudo_cmd zentry-tool history --folder "$folder" --user "$user" --task 2 --time 5
  done
  (cd "$folder" && $sudo_cmd find . -path ./UserData.mdb-wal -prune -o -path ./UserData.mdb-shm -prune \
    -o -path ./UserData.mdb -prune -o -type f -print | sort)
  $sudo_cmd stat -c '%a %G %n' "$folder"
}
snapshot > "$work/before.txt"
$sudo_cmd apt-get install -y -q "$new_deb"
snapshot > "$work/after.txt"
if ! diff -u "$work/before.txt" "$work/after.txt"; then
  echo "FAILED: the upgrade changed the data" >&2
  exit 1
fi
grep -q '"rows":\[{' "$work/after.txt" || { echo "FAILED: no trials were recorded" >&2; exit 1; }
echo "OK: users, trials, analysis files and the folder's group survive the upgrade"
