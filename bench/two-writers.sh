#!/usr/bin/env bash
# Long form of the two-writers test (TwoWriters runs 2 x 100 writes with every
# test run): two processes write one user database at the same time through
# the programs' own operations, 500 writes each by default. Then one writer
# runs again beside the real zentry-tool importing an export folder over and
# over into the same database; every import must succeed, no write may show a
# message, and every history row must be there.
#   bench/two-writers.sh [WRITES_PER_PROCESS [IMPORTS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
writes=${1:-500}
imports=${2:-40}
cmake --build "$root/build" --target test_zentry01 zentry-tool zentry_default_data
ZENTRY_WRITERS_WRITES=$writes QT_QPA_PLATFORM=offscreen \
  "$root/build/tests/test_zentry01" --gtest_filter='TwoWriters.*'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prog="$work/prog/"
mkdir -p "$prog"
cp "$root/build/bin/UserData.org" "$prog/UserData.mdb"
# The writer edits and numbers the users 1 to 20.
python3 - "$prog/UserData.mdb" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for code in range(1, 21):
    db.execute("insert into User_tbl values (?, 'ヤマダ', 'タロウ', '山田', '太郎', 0, 0, 0, "
               "'2026/04/01 09:00:00', '2026/04/01 09:00:00', 0)", (code,))
db.commit()
PY
count_rows() {
  python3 -c "import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute('select count(*) from History_tbl').fetchone()[0])" "$prog/UserData.mdb"
}
# What one import brings (trials of users it does not bring are left out).
"$root/build/bin/zentry-tool" import --folder "$prog" --from "$root/tests/data/export" >/dev/null
per_import=$(count_rows)
ZENTRY_WRITER_FOLDER=$prog ZENTRY_WRITER=1 ZENTRY_WRITERS_WRITES=$writes QT_QPA_PLATFORM=offscreen \
  "$root/build/tests/test_zentry01" --gtest_filter='TwoWritersChild.Writes' >"$work/writer.log" 2>&1 &
writer=$!
sleep 1
touch "$prog/go"
for _ in $(seq 2 "$imports"); do
  "$root/build/bin/zentry-tool" import --folder "$prog" --from "$root/tests/data/export" >/dev/null
done
wait "$writer"
if grep -q '^@MESSAGE' "$work/writer.log"; then
  grep '^@MESSAGE' "$work/writer.log"
  exit 1
fi
trials=$(grep -c '^@TRIAL ' "$work/writer.log")
imported=$((per_import * imports))
rows=$(count_rows)
echo "beside zentry-tool: $writes writes, $imports imports, $rows history rows ($trials written + $imported imported)"
[ "$rows" -eq $((trials + imported)) ]
