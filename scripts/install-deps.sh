#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they
# are all there already.
set -euo pipefail

packages=(g++ cmake make libsqlite3-dev nlohmann-json3-dev libgtest-dev libgmock-dev
          libbenchmark-dev libxml2-utils clang-format strace
          # the server store: libpq's header for the build, a server for the tests
          postgresql libpq-dev
          # the desktop face, its tests on Xvfb and the screenshots
          qt6-base-dev qt6-translations-l10n libxcb1-dev xvfb xauth xdotool python3 fonts-ipafont-gothic imagemagick gdb
          # the packages (scripts/packages.sh)
          dpkg-dev lintian man-db wixl msitools)
# shellcheck source=scripts/install-missing.sh
source "$(dirname "$0")/install-missing.sh"
# With what Qt recommends: its platform plugins come so.
install_missing --recommends "${packages[@]}"
