#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with Debian's clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for SECONDS
# (default 20) from its seed corpus in fuzz/corpus/<target>, as many at once
# as there are cores. New inputs go to build-fuzz/corpus/<target>; an input
# that breaks a property or crashes is kept in build-fuzz/findings/ (until
# the next run of that target) and fails the run. Prints executions, coverage and findings per target.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true

say() { echo "fuzz: $*" >&2; }
# shellcheck source=scripts/install-missing.sh
source scripts/install-missing.sh
install_missing clang libclang-rt-14-dev

build=build-fuzz
jobs=$(nproc)
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPV14_FUZZ=ON \
  -DPV14_BUILD_TESTS=OFF -DPV14_BUILD_BENCHMARKS=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/targets/*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

run_one() {
  local target=$1 seconds=$2 build=$3
  local corpus=$build/corpus/$target findings=$build/findings/$target log=$build/logs/$target.log
  # Findings of an earlier run are no finding of this one.
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  local limits=(-rss_limit_mb=2048)
  # The loader's memory must stay a small multiple of its input's (inputs
  # here are a few kilobytes): deep nesting once took gigabytes.
  [ "$target" = engine_json ] && limits=(-rss_limit_mb=512 -malloc_limit_mb=64)
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 "${limits[@]}" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$target" \
    >"$log" 2>&1 && echo "$target ok" || echo "$target FAILED"
}
export -f run_one
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c "run_one {} $seconds $build"

failed=0
printf '%-16s %12s %8s %8s %s\n' target executions cov ft findings
for target in "${targets[@]}"; do
  log=$build/logs/$target.log
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" 2>/dev/null | tail -1 || true)
  # A log without these lines (a target that died at once) still gets its row.
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  found=$(find "$build/findings/$target" -type f 2>/dev/null | wc -l)
  if [ "$found" -gt 0 ] || ! grep -q '^Done ' "$log" 2>/dev/null; then failed=1; fi
  printf '%-16s %12s %8s %8s %s\n' "$target" "${executions:-?}" "${coverage:-?}" "${features:-?}" \
    "$found"
done
if [ "$failed" -ne 0 ]; then
  echo "fuzz: a target failed; see $build/logs and $build/findings" >&2
  exit 1
fi
