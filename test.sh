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
# The test builds carry no more debug information than a failure report
# needs: full information makes every compile half as long again.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPV14_SQLITE_PREFIX="$sqlite" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The programs as handed out (Release: libstdc++ linked into the program, the
# Qt module with the shared one) on the desktop too, end to end.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPV14_SQLITE_PREFIX="$sqlite" \
  -DPV14_BUILD_TESTS=OFF -DPV14_BUILD_BENCHMARKS=OFF -DPV14_WITH_QT=ON >/dev/null
cmake --build build-release -j"$jobs" --target LedgerStd19ToPv14 ledger-engine pv14_face_qt
for desktop_test in desktop-run display-gone; do
  tests/qt/$desktop_test.sh build-release/LedgerStd19ToPv14 build-release/ledger-engine \
    samples/sample-company.json
done

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPV14_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 -DPV14_BUILD_BENCHMARKS=OFF >/dev/null
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
