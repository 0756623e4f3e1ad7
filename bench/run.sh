#!/usr/bin/env bash
# Builds the report benchmark in Release (in a build folder of its own) and
# prints its figures: the writer's time beside one write call per line,
# their ratio, and the peak memory before and after the full reports. Extra
# arguments go to the benchmark (e.g. --benchmark_repetitions=3).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${PV14_BENCH_BUILD:-$top/build-bench}"
log="$build/bench-build.log"
mkdir -p "$build"
if ! { cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPV14_BUILD_TESTS=OFF \
         -DPV14_BUILD_BENCHMARKS=ON &&
       cmake --build "$build" --target report_benchmark -j"${PV14_BENCH_JOBS:-2}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "the benchmark did not build" >&2
  exit 1
fi
exec "$build/bench/report_benchmark" "$@"
