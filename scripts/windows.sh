#!/usr/bin/env bash
# The Windows build: installs the cross compilers and wine when missing,
# builds SQLite and GoogleTest for both targets into a cache outside the
# source tree, cross-builds the programs (i686, the deliverable, and x86_64,
# the one whose tests run under wine: these machines cannot execute 32-bit
# code), installs them into dist-win32/ and dist-win64/ and runs the x86_64
# tests under wine.
#
#   scripts/windows.sh            everything
#   scripts/windows.sh --no-test  build and install only
#
# The cache is ${PV14_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pv14-windows}.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
run_tests=1
[ "${1:-}" = "--no-test" ] && run_tests=0

cache=${PV14_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pv14-windows}
jobs=$(nproc)
started=$SECONDS

say() { echo "windows: $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi

# shellcheck source=scripts/sqlite-source.sh
source "$root/scripts/sqlite-source.sh"

install_packages() {
  install_missing g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth \
    dpkg-dev tcl make cmake nlohmann-json3-dev googletest
}

# The header-only nlohmann-json, and GoogleTest where the tests are built.
third_party() {
  local target=$1 with_tests=$2 prefix=$cache/$1
  if [ ! -e "$prefix/include/nlohmann" ]; then
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    ln -sfn /usr/include/nlohmann "$prefix/include/nlohmann"
    cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  fi
  if [ "$with_tests" = 1 ] && [ ! -f "$prefix/lib/libgtest.a" ]; then
    cmake -S /usr/src/googletest -B "$cache/build-gtest-$target" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$target.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$cache/build-gtest-$target" -j"$jobs" >/dev/null
    cmake --install "$cache/build-gtest-$target" >/dev/null
    rm -rf "$cache/build-gtest-$target"
  fi
}

# Configures and builds one target in build-<name>/.
build_target() {
  local target=$1 dir=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$target.cmake" \
    -DPV14_THIRD_PARTY="$cache/$target" -DCMAKE_BUILD_TYPE=Release \
    -DPV14_BUILD_BENCHMARKS=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

# A wine prefix of its own, made once, headless. With CI set, a new one in a
# temporary folder every run, so that a green run proves a fresh machine.
prepare_wine() {
  if [ -n "${PV14_WINEPREFIX:-}" ]; then
    WINEPREFIX=$PV14_WINEPREFIX
  elif [ -n "${CI:-}" ]; then
    WINEPREFIX=$(mktemp -d)/wine
    trap 'rm -rf "$(dirname "$WINEPREFIX")"' EXIT
  else
    WINEPREFIX=$cache/wine
  fi
  export WINEPREFIX
  export WINEDEBUG=-all
  # No prompts to install Mono or Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local began=$SECONDS
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the wine prefix $WINEPREFIX"
    xvfb-run -a wine wineboot -u >/dev/null 2>&1
    wineserver -w
  fi
  # No window manager runs on the tests' display: windows that wine leaves
  # to one wait two seconds for it at every hide. Set on a display of its
  # own, and the server waited out: a server started without a display
  # keeps a desktop that can create no window, and the tests' server would
  # join it.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    xvfb-run -a wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  say "wine prefix ready after $((SECONDS - began)) s"
}

# The tests run on one X display with one wineserver, started before CTest
# and stopped after it: services that the tests' processes start keep the
# server's pipes open, and CTest would wait on them. The server's first
# process makes the desktop, so it must see the display too.
run_windows_tests() {
  prepare_wine
  xvfb-run -a bash -c '
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1
    status=0
    ctest --test-dir build-win64 --output-on-failure -j"$0" || status=$?
    wineserver -k 2>/dev/null || true
    exit $status' "$jobs"
}

install_packages
mkdir -p "$cache"
sqlite_amalgamation "$cache/src/sqlite"
# The two SQLite builds are the slowest step; one on each core.
sqlite_library i686-w64-mingw32-gcc-posix i686-w64-mingw32-ar "$cache/src/sqlite" \
  "$cache/i686-w64-mingw32" &
other=$!
sqlite_library x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-ar "$cache/src/sqlite" \
  "$cache/x86_64-w64-mingw32"
wait "$other"
third_party i686-w64-mingw32 0
third_party x86_64-w64-mingw32 "$run_tests"
say "third-party libraries ready after $((SECONDS - started)) s"

# The deliverable: warnings are errors, for the compiler and the linker.
build_target i686-w64-mingw32 build-win32 -DPV14_BUILD_TESTS=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_EXE_LINKER_FLAGS=-Wl,--fatal-warnings
rm -rf dist-win32
cmake --install build-win32 --prefix dist-win32 >/dev/null

# The tested build; its end-to-end tests run the installed programs.
build_target x86_64-w64-mingw32 build-win64 -DPV14_BUILD_TESTS="$run_tests" \
  -DPV14_E2E_PROGRAM_DIR="$root/dist-win64" -DCMAKE_CROSSCOMPILING_EMULATOR=wine
rm -rf dist-win64
cmake --install build-win64 --prefix dist-win64 >/dev/null
say "built and installed dist-win32/ and dist-win64/ after $((SECONDS - started)) s"

if [ "$run_tests" = 1 ]; then
  run_windows_tests
  say "Windows tests passed after $((SECONDS - started)) s"
fi
