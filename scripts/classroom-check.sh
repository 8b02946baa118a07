#!/usr/bin/env bash
# One installation read through zentry-tool twice: from its UserData.mdb, and
# after `zentry-tool server migrate` from a throwaway PostgreSQL server by a
# second program folder that holds nothing but the ini naming the server.
# history, compare, analyze and export must give the same bytes.
#   scripts/classroom-check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bin
tool=$bin/zentry-tool
work=$(mktemp -d)
pgdir=$(mktemp -d) # its own: the server's user must reach it
"$root/scripts/pg-server.sh" start "$pgdir" >"$work/url" || { echo "no PostgreSQL server"; exit 1; }
trap '"$root/scripts/pg-server.sh" stop "$pgdir"; rm -rf "$work"' EXIT
admin=$(cat "$work/url")
url=${admin%/postgres}/classroom
psql "$admin" -qc "CREATE DATABASE classroom"

pc=$work/pc
mkdir -p "$pc"
cp "$bin/Quillon01.mst" "$bin/UserData.org" "$pc/"
printf '[Settings]\r\norder_flg=2\r\n' >"$pc/Quillon01.ini"
"$tool" import --folder "$pc" --from "$root/tests/data/export" 2>/dev/null
# One trial with its files, so that the files' contents are compared too.
mkdir -p "$pc/解析結果/5"
trial=$pc/解析結果/5/20260511_100405
cp "$root/tests/data/trials/denpyo_course1.csv" "${trial}_入力値_顧客伝票_鈴木_花子.csv"
cp "$root/tests/data/trials/denpyo_course1_analysis.csv" "${trial}_解析結果_顧客伝票_鈴木_花子.csv"

read_all() { # FOLDER OUT
  mkdir -p "$2"
  for task in 1 2 3; do
    "$tool" compare --folder "$1" --task "$task" >"$2/compare_$task.csv"
    for user in 1 2 3 4 5 6 7 8; do
      "$tool" history --folder "$1" --user "$user" --task "$task" >"$2/history_${user}_$task.json" 2>&1 || true
      "$tool" analyze --folder "$1" --user "$user" --task "$task" >"$2/analyze_${user}_$task.json" 2>&1 || true
    done
  done
  mkdir -p "$2/export"
  "$tool" export --from "$1" --to "$2/export" 2>/dev/null
}
read_all "$pc" "$work/sqlite"

"$tool" server init --url "$url"
"$tool" server migrate --folder "$pc" --url "$url"
second=$work/second
mkdir -p "$second"
cp "$bin/Quillon01.mst" "$second/"
printf '[Database]\r\nuser_db=%s\r\n' "$url" >"$second/Quillon01.ini"
read_all "$second" "$work/server"
# The history and analyses name the folder they read; nothing else may differ.
if diff -r "$work/sqlite" "$work/server"; then
  echo "same bytes: $(find "$work/sqlite" -type f | wc -l) outputs of history, compare, analyze and export"
else
  echo "outputs differ" >&2
  exit 1
fi
