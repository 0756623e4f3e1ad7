#!/usr/bin/env bash
# The README's reliability figures on the real programs: the settings kill
# loop, killed exports, disk-full runs and eight exports at once, with larger
# counts than the test run's. Builds what it needs in build/ first.
#   scripts/reliability.sh [KILLS] [EXPORT_KILLS] [CONCURRENT_TRIALS]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target e2e_tests unit_tests
PV14_KILLS=${1:-250} PV14_EXPORT_KILLS=${2:-50} PV14_CONCURRENT_TRIALS=${3:-10} \
  ./build/tests/e2e_tests --gtest_filter='ReliabilityTest.*'
./build/tests/unit_tests --gtest_filter='SharingTest.*:Cases/SaveCases.*'
