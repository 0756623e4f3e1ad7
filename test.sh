#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)

# The normal build links the programs' own SQLite, as the programs handed out
# do (made from Debian's source package, cached outside the tree); the
# sanitizer build links Debian's library.
sqlite=$(./scripts/sqlite-release.sh)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPV14_SQLITE_PREFIX="$sqlite" >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPV14_SANITIZE=ON \
  -DPV14_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The fuzz targets, each for a short while from its seeds (clang, ASan+UBSan):
# they keep building and their properties keep holding.
./scripts/fuzz.sh "${PV14_FUZZ_SECONDS:-10}"

# The same sources as Windows programs, tested under wine.
./scripts/windows.sh

# The packages made of these builds, each installed, run and removed.
./scripts/packages.sh
