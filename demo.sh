#!/usr/bin/env bash
# Builds both editions, installs them with the engine tool into dist/ beside
# the files an installed filing application and product leave there, loads
# the bundled sample company into a database of its own and runs one export
# on the console front end.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)
./scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target LedgerStd19ToPv14 LedgerNet19ToPv14 ledger-engine
cmake --install build --prefix dist >/dev/null

# What the filing application and the product install beside the programs.
printf '[ProgramLevel]\r\nPV14=1\r\n' > dist/KurodaiDef.ini
printf '[=製品名=]勘定丸１９\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]19.00.05\r\n' | iconv -f UTF-8 -t CP932 > dist/SUPPORT.INF

# A fresh engine database and home of the demo's own: never the user's.
demo="$top/dist/demo"
rm -rf "$demo"
mkdir -p "$demo/home" "$demo/out"
export LEDGER_ENGINE_DB="$demo/engine.sqlite"
export HOME="$demo/home"
export PV14_UI=console
export PV14_DRIVES="Z=/"
unset XDG_DATA_HOME XDG_CONFIG_HOME
dist/ledger-engine load samples/sample-company.json

# Windows form of the report's path under the default drive table.
report_posix="$demo/out/sample-report.xml"
report_windows="Z:${report_posix//\//\\}"

echo "--- export (scripted: business income, the demo's output file)"
status=0
printf '1\npath %s\nexecute\n' "$report_windows" | dist/LedgerStd19ToPv14 || status=$?
echo "--- exit status: $status"
if [ "$status" -ne 0 ] || [ ! -s "$report_posix" ]; then
  echo "the export did not write the report" >&2
  exit 1
fi
echo "--- the report's header blocks (converted to UTF-8 for display):"
iconv -f CP932 -t UTF-8 "$report_posix" | tr -d '\r' | sed -n '1,/<\/BASIC>/p'
echo "..."
echo "Report: $report_posix ($(wc -l < "$report_posix") lines)"
