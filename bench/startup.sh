#!/usr/bin/env bash
# Times whole exports, process start to exit, scripted on the console face,
# each beside a plain program that writes the same report lines with one
# write call each, started the same way (bench/WriteLines.cpp), in
# alternating pairs (bench/PairTimer.cpp):
#   (a) the bundled sample company's export (at most 2.5 times its loop);
#   (b) a real-estate export of 10,050 income rows (within 1.15 times);
#   (c) for information, a run cancelled at the dialog beside (a)'s loop;
#   (d), (e) the exports of (a) and (b) from a store on a local PostgreSQL
#       server (through its socket) beside the same from a file store
#       (within 1.5 and 1.3 times), with a server of their own
#       (tests/support/pg-server.sh), when one is installed;
#   (f) that a file-store run loads no PostgreSQL client library.
# Builds Release first, in a build folder of its own, with SQLite made by
# scripts/sqlite-release.sh. Exit status 1 when a goal is missed.
# PV14_BENCH_PAIRS and PV14_BENCH_LARGE_PAIRS set the pairs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${PV14_BENCH_BUILD:-$top/build-bench}"
pairs="${PV14_BENCH_PAIRS:-40}"
largePairs="${PV14_BENCH_LARGE_PAIRS:-12}"
incomeRows=10050

mkdir -p "$build"
log="$build/startup-build.log"
# The Release programs as they are built for installing: with their own SQLite.
if ! sqlite=$("$top/scripts/sqlite-release.sh" 2>"$build/sqlite.log"); then
  cat "$build/sqlite.log" >&2
  echo "SQLite of our own build not made: timing with Debian's" >&2
  sqlite=
fi
if ! { cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPV14_BUILD_TESTS=OFF \
         -DPV14_BUILD_BENCHMARKS=ON -DPV14_SQLITE_PREFIX="$sqlite" &&
       cmake --build "$build" -j"${PV14_BENCH_JOBS:-2}" \
         --target LedgerStd19ToPv14 ledger-engine write_lines pair_timer; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "the programs did not build" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pv14-startup-XXXXXX")
# The server's folder lies outside $work: as root the server runs as postgres.
pg="${TMPDIR:-/tmp}/pv14-bench-pg-$$"
trap 'sh "$top/tests/support/pg-server.sh" stop "$pg"; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/home" "$work/out"
cp "$build/LedgerStd19ToPv14" "$work/program/"
printf '[ProgramLevel]\r\nPV14=1\r\n' >"$work/program/KurodaiDef.ini"
printf '[=製品名=]勘定丸１９\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]19.00.05\r\n' | iconv -f UTF-8 -t CP932 \
  >"$work/program/SUPPORT.INF"

export HOME="$work/home" PV14_UI=console PV14_DRIVES="Z=/"
unset XDG_DATA_HOME XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY LEDGER_ENGINE_DB

# A blue data set whose real-estate details hold the long income list.
realEstateJson() {
  awk -v rows="$incomeRows" 'BEGIN {
    print "{\"CurrentUserId\": \"BENCH\","
    print " \"Users\": [{\"UserId\": \"BENCH\", \"SelectedKeyNo\": 1, \"SelectedDataNo\": 1}],"
    print " \"DataSets\": [{\"DataId\": \"BENCH-ESTATE\", \"DataNo\": 1,"
    print "  \"CompanyName\": \"ﾍﾞﾝﾁ不動産 Bench Estate\", \"PeriodFrom\": 20230101,"
    print "  \"PeriodTo\": 20231231, \"ReturnKind\": 3, \"StatementScope\": 3,"
    printf "  \"Statements\": {\"RealEstate\": {\"PL\": ["
    for (code = 100; code <= 150; ++code) {
      printf "%s{\"LineNo\": %d, \"Code\": %d, \"ItemName\": \"【科目】 %d\", ", \
        (code > 100 ? ", " : ""), code - 99, code, code
      printf "\"OpeningBalance\": %d, \"ClosingBalance\": %d}", code * 123, -code * 765
    }
    print "]}},"
    print "  \"RealEstateSaveInfo\": {\"LiabilityInterest\": 12345678,"
    print "   \"SpecialCircumstances\": \"賃貸物件の特殊事情\\r\\n二行目は少し長めの文章です。\","
    printf "   \"IncomeRows\": [\n"
    for (i = 1; i <= rows; ++i) {
      printf "    {\"RowKey\": %d, \"LettingKind\": \"貸家\", \"Use\": \"住宅\", ", i
      printf "\"Location\": \"東京都港区南青山五丁目十番地表参道ソ能館\", "
      printf "\"TenantAddress\": \"大阪府大阪市北区梅田一丁目二番三号 別館\", "
      printf "\"TenantName\": \"表 能子 %d\", \"ContractFrom\": 20230401, ", i
      printf "\"ContractTo\": 20250331, \"Area\": \"%d.%04d\", ", 123 + i % 50, i % 10000
      printf "\"MonthlyRent\": %d, \"AnnualRent\": %d, \"GiftMoney\": \"%d.5\", ", \
        80000 + i, 960000 + i, 100000 + i
      printf "\"KeyMoney\": %d, \"RenewalFee\": %d, ", (i % 3 == 0 ? 0 : 50000 + i), 30000 + i
      printf "\"NameChangeAndOtherFees\": %d, \"Deposit\": %d}%s\n", -(1000 + i), 160000 + i, \
        (i < rows ? "," : "")
    }
    print "   ]}}]}"
  }'
}

# One store and one script per export; the first run writes the report the
# loop then writes again, and every later run answers the overwrite question.
prepare() {  # NAME JSON_FILE INCOME_KIND
  local name=$1 json=$2 kind=$3
  LEDGER_ENGINE_DB="$work/$name.sqlite" "$build/ledger-engine" load "$json" >/dev/null 2>&1
  local report="$work/out/$name.xml"
  printf '%s\npath Z:%s\nexecute\ny\n' "$kind" "${report//\//\\}" >"$work/$name.script"
  if ! LEDGER_ENGINE_DB="$work/$name.sqlite" "$work/program/LedgerStd19ToPv14" \
       <"$work/$name.script" >/dev/null 2>&1; then
    echo "the $name export failed" >&2
    exit 1
  fi
  cp "$report" "$work/$name.lines"
}

realEstateJson >"$work/real-estate.json"
prepare sample "$top/samples/sample-company.json" 1
prepare real-estate "$work/real-estate.json" 3
printf 'cancel\n' >"$work/cancel.script"

lines() { wc -l <"$1" | tr -d ' '; }
status=0
timePair() {  # TITLE STORE PAIRS LIMIT EXPORT_SCRIPT EXPORT_STATUS LOOP_NAME
  local title=$1 store=$2 count=$3 limit=$4 script=$5 exportStatus=$6 name=$7
  echo "$title"
  LEDGER_ENGINE_DB="$work/$store.sqlite" "$build/bench/pair_timer" "$count" "$limit" \
    -- "export" "$script" "$exportStatus" "$work/program/LedgerStd19ToPv14" \
    -- "one write per line" "$script" 0 "$build/bench/write_lines" \
       "$work/$name.lines" "$work/out/$name.loop.xml" || status=$?
}

echo "Release build; pairs timed alternately, process start to exit"
timePair "(a) sample company, $(lines "$work/sample.lines") lines" sample "$pairs" 2.5 \
  "$work/sample.script" 0 sample
timePair "(b) real estate, $incomeRows income rows, $(lines "$work/real-estate.lines") lines" \
  real-estate "$largePairs" 1.15 "$work/real-estate.script" 0 real-estate
timePair "(c) cancelled at the dialog, beside (a)'s loop (no goal)" sample "$pairs" - \
  "$work/cancel.script" 1 sample

# The same exports from a server store, beside a file store's.
serverPair() {  # TITLE STORE PAIRS LIMIT SCRIPT
  local title=$1 store=$2 count=$3 limit=$4 script=$5
  echo "$title"
  "$build/bench/pair_timer" "$count" "$limit" \
    -- "server store" "$script" 0 /usr/bin/env \
       "LEDGER_ENGINE_DB=postgresql:///${store//-/_}?host=$pg&user=postgres" \
       "$work/program/LedgerStd19ToPv14" \
    -- "file store" "$script" 0 /usr/bin/env "LEDGER_ENGINE_DB=$work/$store.sqlite" \
       "$work/program/LedgerStd19ToPv14" || status=$?
}
if sh "$top/tests/support/pg-server.sh" start "$pg" && [ -S "$pg/.s.PGSQL.5432" ]; then
  for store in sample real-estate; do
    psql -X -q -h "$pg" -U postgres -d postgres -c "CREATE DATABASE ${store//-/_}"
    json="$work/real-estate.json"
    [ "$store" = sample ] && json="$top/samples/sample-company.json"
    LEDGER_ENGINE_DB="postgresql:///${store//-/_}?host=$pg&user=postgres" \
      "$build/ledger-engine" load "$json" >/dev/null
  done
  serverPair "(d) sample company from a server store" sample "$pairs" 1.5 "$work/sample.script"
  serverPair "(e) real estate, $incomeRows income rows, from a server store" real-estate \
    "$largePairs" 1.3 "$work/real-estate.script"
else
  echo "(d), (e): no PostgreSQL server here, not timed"
fi

echo "(f) PostgreSQL client libraries a file-store run loads (expected: none)"
loaded=$(LEDGER_ENGINE_DB="$work/sample.sqlite" LD_DEBUG=files \
  "$work/program/LedgerStd19ToPv14" <"$work/cancel.script" 2>&1 >/dev/null | grep -c 'libpq' || true)
echo "  $loaded"
[ "$loaded" = 0 ] || status=1
exit "$status"
