#!/usr/bin/env bash
# Builds and runs every test (headless), then the database tests once more on
# a throwaway PostgreSQL server (skipped, and said so, where none is installed).
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

# The tests whose fixtures put the user database on the server when
# ZENTRY_TEST_PG_URL names one: database access, recovery, concurrency,
# history, comparison, export and import.
server_tests=$(grep -v -e '^#' -e '^!' "$root/tests/server-tests.txt" | paste -sd '|')
server_skipped=$(grep '^!' "$root/tests/server-tests.txt" | cut -c2- | paste -sd '|')
pgdir=$(mktemp -d)
rc=0
url=$("$root/scripts/pg-server.sh" start "$pgdir") || rc=$?
if [ "$rc" -eq 3 ]; then
  rm -rf "$pgdir"
  echo "SKIPPED: PostgreSQL is not installed (no initdb under /usr/lib/postgresql); the server half of the database tests did not run."
  exit 0
elif [ "$rc" -ne 0 ]; then
  echo "The throwaway PostgreSQL server did not start." >&2
  exit 1
fi
trap '"$root/scripts/pg-server.sh" stop "$pgdir"' EXIT
echo "Database tests on PostgreSQL ($url):"
ZENTRY_TEST_PG_URL=$url QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure --parallel "$(nproc)" --timeout 60 -R "$server_tests" -E "$server_skipped"
