#!/usr/bin/env bash
# The classroom load benchmarks against a throwaway local PostgreSQL server:
# 40 trainee PCs finishing a 60-card trial at the same moment, and 2 writers
# on one UserData.mdb for comparison; then the live screen (実施状況) while 40
# trials report cards, on the server and on UserData.mdb (its CPU share and
# the time from a report to its count on the screen).
#   bench/classroom-load.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$root/build" --target bench_classroom_load bench_utility_live zentry_default_data
pgdir=$(mktemp -d)
url=$("$root/scripts/pg-server.sh" start "$pgdir")
trap '"$root/scripts/pg-server.sh" stop "$pgdir"' EXIT
ZENTRY_BENCH_PG_URL=$url "$root/build/bench/bench_classroom_load"
ZENTRY_BENCH_PG_URL=$url "$root/build/bench/bench_utility_live" --benchmark_filter=LiveScreen40Trials
