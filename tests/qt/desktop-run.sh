#!/usr/bin/env bash
# The built program on a desktop (Xvfb), driven only by keys sent to its
# windows: real estate (Alt+3), the path typed into the edit (Alt+F), F12,
# Enter on the closing message. Its report must equal, byte for byte, the
# report of the same choices made on the console, and it must exit with 0.
# A second run presses Esc: exit 1 and nothing written.
#
#   desktop-run.sh PROGRAM ENGINE_TOOL SAMPLE_JSON
set -euo pipefail
if [ -z "${PV14_ON_XVFB:-}" ]; then
  exec env PV14_ON_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
program=$1 tool=$2 sample=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/desktop-session.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/pv14-desktop-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  for f in "$work"/*/stderr.txt; do [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }; done
  exit 1
}
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# ---- the console's report of the same choices
desktop_install "$work/console" "$program" "$tool" "$sample"
console_report="$work/console/out/report.xml"
desktop_env "$work/console"
printf '3\npath %s\nexecute\n' "$(windows_path "$console_report")" |
  env "${desktop_vars[@]}" PV14_UI=console "$work/console/program/$(basename "$program")" \
    2>"$work/console/stderr.txt" || fail "the console run did not succeed"
[ -s "$console_report" ] || fail "the console run wrote no report"

# ---- the same choices on the desktop, by keys
desktop_install "$work/desktop" "$program" "$tool" "$sample"
desktop_report="$work/desktop/out/report.xml"
desktop_start "$work/desktop"
dialog=$(desktop_window '^所得税 - 集計条件$') || fail "no conditions dialog"
[ -n "$dialog" ] || fail "no conditions dialog"
desktop_keys "$dialog" alt+3 alt+f
desktop_type "$dialog" "$(windows_path "$desktop_report")"
desktop_keys "$dialog" F12
done_box=$(desktop_window '^所得税$') || fail "no closing message"
desktop_keys "$done_box" Return
desktop_wait
[ "$desktop_status" = 0 ] || fail "the desktop run ended with $desktop_status"
cmp "$console_report" "$desktop_report" || fail "the desktop report differs from the console's"
echo "desktop run: report equal to the console's ($(wc -c < "$desktop_report") bytes), status 0"

# ---- Esc: cancelled, nothing written
desktop_install "$work/cancel" "$program" "$tool" "$sample"
desktop_start "$work/cancel"
dialog=$(desktop_window '^所得税 - 集計条件$') || fail "no conditions dialog"
desktop_keys "$dialog" Escape
cancel_box=$(desktop_window '^所得税$') || fail "no cancel message"
desktop_keys "$cancel_box" Return
desktop_wait
[ "$desktop_status" = 1 ] || fail "the cancelled run ended with $desktop_status"
[ -z "$(ls -A "$work/cancel/out")" ] || fail "the cancelled run wrote $(ls "$work/cancel/out")"
echo "desktop run: Esc cancelled with status 1, nothing written"
echo "2 passed, 0 failed"
