#!/usr/bin/env bash
# Screenshots of the desktop face, taken from the built program under Xvfb
# (needs gdb besides what scripts/install-deps.sh installs):
# the conditions dialog, the progress window while the run works, and the
# closing message. Written to docs/screenshots/ (shown in README.md).
#
#   scripts/screenshots.sh [BUILD_DIR]     (default: build, as ./test.sh makes it)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
if [ -z "${PV14_ON_XVFB:-}" ]; then
  exec env PV14_ON_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi
source "$top/scripts/desktop-session.sh"
shots="$top/docs/screenshots"
mkdir -p "$shots"
work=$(mktemp -d "${TMPDIR:-/tmp}/pv14-shots-XXXXXX")
trap 'rm -rf "$work"' EXIT

shoot() { import -window "$1" "$shots/$2.png" && echo "$shots/$2.png"; }

# The run is over in a blink, so the progress window is taken with the
# program held by the debugger where the writing begins (collection done).
export DESKTOP_DRIVES="Z=/;D=$work/run"
desktop_install "$work/run" "$build/LedgerStd19ToPv14" "$build/ledger-engine" \
  "$top/samples/sample-company.json"
program="$work/run/program/LedgerStd19ToPv14"
desktop_env "$work/run"
env "${desktop_vars[@]}" PV14_UI=qt gdb -batch -nx -ex 'set pagination off' \
  -ex 'break pv14::ReportWriter::WriteReport' -ex run \
  -ex "shell sleep 0.3; import -window \$(LC_ALL=C.UTF-8 xdotool search --name '^集計中' | head -n 1) $shots/progress-window.png" \
  -ex continue --args "$program" >"$work/gdb.txt" 2>&1 &
dialog=$(desktop_window '^所得税 - 集計条件$')
desktop_keys "$dialog" alt+3 alt+f
desktop_type "$dialog" 'D:\out\report.xml'
sleep 0.3
shoot "$dialog" conditions-dialog
desktop_keys "$dialog" F12
box=$(desktop_window '^所得税$')
shoot "$box" closing-message
desktop_keys "$box" Return
wait
if [ ! -s "$shots/progress-window.png" ]; then
  cat "$work/gdb.txt" >&2
  echo "the progress window was not taken" >&2
  exit 1
fi
echo "$shots/progress-window.png"
