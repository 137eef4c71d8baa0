#!/usr/bin/env bash
# Starts or stops a private PostgreSQL server for the tests: its own data
# folder, listening only on a unix socket in that folder.
#   pg_server.sh start DIR PORT
#   pg_server.sh stop DIR
set -euo pipefail

cmd=$1
dir=$2
port=${3:-55432}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [[ -z "$bindir" ]]; then
  echo "PostgreSQL server programs not found (install the postgresql package)" >&2
  exit 1
fi

# The server refuses to run as root; run it as the postgres user then.
as_owner() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$cmd" in
  start)
    if [[ -f "$dir/data/postmaster.pid" ]]; then
      as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    if [[ $(id -u) -eq 0 ]]; then chown postgres: "$dir"; fi
    as_owner "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 \
      --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off -c max_connections=200" \
      start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "PostgreSQL listening on $dir (port $port)"
    ;;
  stop)
    if [[ -f "$dir/data/postmaster.pid" ]]; then
      as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    echo "PostgreSQL stopped"
    ;;
  *)
    echo "usage: $0 start DIR PORT | stop DIR" >&2
    exit 2
    ;;
esac
