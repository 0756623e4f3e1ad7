#!/usr/bin/env bash
# Screenshots of the real Win32 dialogs under wine: the conditions dialog
# (130) of dist-win64/LedgerStd19ToPv14.exe on the sample company, and the
# progress dialog (131) held part way by the tests' show_progress_dialog.
# Writes docs/screenshots/win32-conditions.png and win32-progress.png; with
# PV14_SCREENSHOT_DPI=144 (150 %), win32-conditions-144dpi.png and
# win32-progress-144dpi.png.
# Run scripts/windows.sh first (it builds both and makes the wine prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=${PV14_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pv14-windows}

say() { echo "win-screenshots: $*" >&2; }
# shellcheck source=scripts/install-missing.sh
source scripts/install-missing.sh
install_missing imagemagick x11-utils fonts-ipafont-gothic xvfb xauth
for f in dist-win64/LedgerStd19ToPv14.exe dist-win64/ledger-engine.exe \
  build-win64/tests/show_progress_dialog.exe "$cache/wine/system.reg"; do
  [ -e "$f" ] || { echo "win-screenshots: $f is missing; run scripts/windows.sh" >&2; exit 1; }
done

export WINEPREFIX=$cache/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An installed program with the sample company in an engine store of its own.
mkdir -p "$work/program"
cp dist-win64/LedgerStd19ToPv14.exe dist-win64/ledger-engine.exe "$work/program/"
printf '[ProgramLevel]\r\nPV14=1\r\n' >"$work/program/KurodaiDef.ini"
# The dialogs' font and the system's Japanese fallback are Windows fonts:
# IPA Gothic stands in for them (Tahoma, the caption's font, falls back to
# MS UI Gothic in wine).
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for name in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
    printf '"%s"="IPAPGothic"\r\n' "$name"
  done
  for name in "ＭＳ ゴシック" "MS Gothic"; do
    printf '"%s"="IPAGothic"\r\n' "$name"
  done
} | iconv -f UTF-8 -t UTF-16 >"$work/fonts.reg"
export LEDGER_ENGINE_DB="Z:$work/engine.sqlite"
export PV14_UI=win32
dpi=${PV14_SCREENSHOT_DPI:-96}
suffix=
[ "$dpi" = 96 ] || suffix=-${dpi}dpi
mkdir -p docs/screenshots

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -eu
  work=$0 root=$1
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1
  wine regedit "Z:$work/fonts.reg" >/dev/null 2>&1
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  wine "$work/program/ledger-engine.exe" load "Z:$root/samples/sample-company.json" >/dev/null

  # The window of the X name, once it is mapped.
  window() {
    for _ in $(seq 100); do
      id=$(xwininfo -root -tree | grep -F "\"$1\"" | awk "{print \$1}" | head -n 1)
      if [ -n "$id" ]; then echo "$id"; return; fi
      sleep 0.2
    done
    echo "win-screenshots: no window \"$1\"" >&2
    return 1
  }
  shoot() {
    id=$(window "$1")
    sleep 1  # painted
    import -window "$id" "$root/docs/screenshots/$2"
    echo "docs/screenshots/$2"
  }

  (cd "$work/program" && wine LedgerStd19ToPv14.exe >/dev/null 2>&1 &)
  shoot "所得税 - 集計条件" "win32-conditions$3.png"
  wine "$root/build-win64/tests/show_progress_dialog.exe" 20 >/dev/null 2>&1 &
  shoot "集計中 45％" "win32-progress$3.png"
  wineserver -k
' "$work" "$root" "$dpi" "$suffix"
