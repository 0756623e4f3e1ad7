#!/usr/bin/env bash
# The X server goes away under the built program, once while the conditions
# dialog shows (the run fails: status 2, no report, no settings) and once
# while the closing message shows (the report is complete: status 0, its
# settings kept). Either way the caller's window (a Unix socket, as
# PV14_WINDOWS gives it) is enabled again and told the status.
#
#   display-gone.sh PROGRAM ENGINE_TOOL SAMPLE_JSON
set -euo pipefail
program=$1 tool=$2 sample=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/desktop-session.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/pv14-gone-XXXXXX")
server_pid= caller_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$caller_pid" ] && kill "$caller_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  for f in "$work"/*/stderr.txt "$work"/*/caller.txt; do
    [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
  done
  exit 1
}
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# A display of its own, to be killed.
start_server() {
  local fd_file="$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  [ -s "$fd_file" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$fd_file")"
}

# The caller's window 4242: every datagram the program sends, one a line.
start_caller() {
  local dir=$1
  mkdir -m 700 "$dir/windows"
  python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.bind(sys.argv[1])
with open(sys.argv[2], "a") as out:
    while True:
        out.write(s.recv(512).decode() + "\n")
        out.flush()
' "$dir/windows/4242" "$dir/caller.txt" &
  caller_pid=$!
  for _ in $(seq 100); do [ -S "$dir/windows/4242" ] && break; sleep 0.1; done
  [ -S "$dir/windows/4242" ] || fail "no caller socket"
  export PV14_WINDOWS="$dir/windows"
}

kill_server_and_wait() {
  kill -KILL "$server_pid"
  wait "$server_pid" 2>/dev/null || true
  server_pid=
  desktop_wait
  # The caller reads what was sent before the exit; on a busy machine it may
  # take a moment to write the last line.
  for _ in $(seq 50); do
    [ "$(tail -n 1 "$dir/caller.txt" 2>/dev/null)" = 'EnableWindow 1' ] && break
    sleep 0.1
  done
  kill "$caller_pid"
  caller_pid=
}

# The caller's window was disabled, then enabled and told the status.
check_caller() {
  local dir=$1 status=$2
  grep -qx 'EnableWindow 0' "$dir/caller.txt" || fail "the caller's window was never disabled"
  grep -qx "PostMessage 32768 5 $status" "$dir/caller.txt" ||
    fail "the caller was not told status $status"
  [ "$(tail -n 1 "$dir/caller.txt")" = 'EnableWindow 1' ] ||
    fail "the caller's window was not enabled at the end"
}

settings_files() { find "$1/home" -name '*.env' | wc -l; }

# A run of its own in $dir, on a display of its own, with a caller; its
# conditions dialog in $dialog.
open_dialog() {
  desktop_install "$dir" "$program" "$tool" "$sample"
  start_server
  start_caller "$dir"
  desktop_start "$dir" "4242,32768,5,$(windows_path "$dir/out/report.xml")"
  dialog=$(desktop_window '^所得税 - 集計条件$') || fail "no conditions dialog"
  [ -n "$dialog" ] || fail "no conditions dialog"
}

# ---- while the dialog shows
dir="$work/dialog"
open_dialog
kill_server_and_wait
[ "$desktop_status" = 2 ] || fail "display gone in the dialog: status $desktop_status, not 2"
check_caller "$dir" 2
[ -z "$(ls -A "$dir/out")" ] || fail "a report was written: $(ls "$dir/out")"
[ "$(settings_files "$dir")" = 0 ] || fail "settings were saved by a failed run"
echo "display gone in the dialog: status 2, caller enabled and told, nothing written"

# ---- while the closing message shows
dir="$work/closing"
open_dialog
desktop_keys "$dialog" alt+3 F12
done_box=$(desktop_window '^所得税$') || fail "no closing message"
[ -n "$done_box" ] || fail "no closing message"
kill_server_and_wait
[ "$desktop_status" = 0 ] || fail "display gone at the closing message: status $desktop_status, not 0"
check_caller "$dir" 0
[ -s "$dir/out/report.xml" ] || fail "no report"
[ "$(settings_files "$dir")" = 1 ] || fail "the settings of a complete run were not saved"
echo "display gone at the closing message: status 0, caller enabled and told, report and settings kept"
echo "2 passed, 0 failed"
