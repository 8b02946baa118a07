#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests, on 127.0.0.1 with trust
# authentication and nothing kept.
#   scripts/pg-server.sh start DIR   prints the server's URL (exit 3: no PostgreSQL installed)
#   scripts/pg-server.sh stop DIR    stops it and removes DIR
# The server refuses to run as root: as root it runs as the user nobody.
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
as_owner=()
[ "$(id -u)" -ne 0 ] || as_owner=(runuser -u nobody --)

case $cmd in
start)
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    exit 3
  fi
  mkdir -p "$dir"
  [ "$(id -u)" -ne 0 ] || chown nobody "$dir"
  "${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U zentry --auth=trust -E UTF8 --locale=C >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  # A free port: another developer's or CI's server may hold the first tried.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    port=$((20000 + RANDOM % 30000))
    if "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/data/server.log" -w -t 30 \
      -o "-h 127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=120" start >/dev/null 2>&1; then
      echo "postgresql://zentry@127.0.0.1:$port/postgres"
      exit 0
    fi
  done
  cat "$dir/data/server.log" >&2 || true
  exit 1
  ;;
stop)
  if [ -n "$bindir" ] && [ -d "$dir/data" ]; then
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
