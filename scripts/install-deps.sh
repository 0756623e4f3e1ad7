#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they
# are all there already.
set -euo pipefail

packages=(g++ cmake make libsqlite3-dev nlohmann-json3-dev libgtest-dev libgmock-dev
          libbenchmark-dev libxml2-utils clang-format strace
          # the server store: libpq's header for the build, a server for the tests
          postgresql libpq-dev
          # the desktop face, its tests on Xvfb and the screenshots
          qt6-base-dev libxcb1-dev xvfb xauth xdotool fonts-ipafont-gothic imagemagick gdb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
