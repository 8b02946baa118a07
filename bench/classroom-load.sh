#!/usr/bin/env bash
# The classroom load benchmark against a throwaway local PostgreSQL server:
# 40 trainee PCs finishing a 60-card trial at the same moment, and 2 writers
# on one UserData.mdb for comparison.
#   bench/classroom-load.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$root/build" --target bench_classroom_load zentry_default_data
pgdir=$(mktemp -d)
url=$("$root/scripts/pg-server.sh" start "$pgdir")
trap '"$root/scripts/pg-server.sh" stop "$pgdir"' EXIT
ZENTRY_BENCH_PG_URL=$url "$root/build/bench/bench_classroom_load"
