#!/bin/sh
# A throwaway PostgreSQL server for one test run, reached only through a
# socket in FOLDER (no port, so runs never clash):
#   pg-server.sh start FOLDER   makes and starts it (FOLDER is replaced)
#   pg-server.sh stop FOLDER    stops it and removes FOLDER
# With --keep-going after FOLDER, a server that does not start is reported
# and the status is still 0: CTest's run starts it for all engine and e2e
# tests, and only the server-store tests should fail then (they try again
# and say why).
# initdb refuses root: as root the server runs as the postgres user that
# Debian's package creates. Without a server installed, start says so and
# succeeds: the server-store tests then skip.
set -u
action=$1
folder=$2
keep_going=${3:-}
fail() {
  if [ "$keep_going" = --keep-going ]; then
    echo "the test server did not start" >&2
    exit 0
  fi
  exit 1
}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "no PostgreSQL server here (scripts/install-deps.sh installs postgresql):" \
       "the server-store tests skip" >&2
  exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
  as_server() { runuser -u postgres -- "$@"; }
else
  as_server() { "$@"; }
fi

stop() {
  if [ -f "$folder/data/postmaster.pid" ]; then
    as_server "$bindir/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1
  fi
  rm -rf "$folder"
}

case $action in
  start)
    stop
    mkdir -p "$folder" && chmod 700 "$folder" || fail
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$folder" || fail; fi
    if ! as_server "$bindir/initdb" -D "$folder/data" -E UTF8 --locale=C.UTF-8 --no-sync \
           -A trust -U postgres >"$folder/initdb.log" 2>&1; then
      cat "$folder/initdb.log" >&2
      fail
    fi
    # Nothing here needs to survive a crash: no fsync.
    if ! as_server "$bindir/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 30 \
           -o "-k $folder -c listen_addresses='' -c fsync=off -c full_page_writes=off" \
           start >/dev/null; then
      cat "$folder/server.log" >&2
      fail
    fi
    ;;
  stop) stop ;;
  *) echo "usage: pg-server.sh start|stop FOLDER" >&2; exit 2 ;;
esac
