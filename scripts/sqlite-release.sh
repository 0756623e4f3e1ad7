#!/usr/bin/env bash
# SQLite for the Linux Release programs: made from Debian's source package
# and compiled with the options of the Windows programs' SQLite, instead of
# Debian's library, which carries full-text search, R-trees, the math
# functions (and with them libm) and extension loading that the programs
# never use, and which cost a short run its start-up. Prints the prefix to
# give CMake as PV14_SQLITE_PREFIX (lib/libsqlite3.a, include/sqlite3.h).
#
# The cache is ${PV14_SQLITE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pv14-sqlite};
# the first run downloads the source package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PV14_SQLITE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pv14-sqlite}

# shellcheck source=scripts/sqlite-source.sh
source "$root/scripts/sqlite-source.sh"
install_missing gcc make tcl dpkg-dev >&2  # stdout carries only the prefix

# What Debian's configure finds in glibc: without these SQLite would sync
# with fsync, sleep whole seconds while waiting for a lock, and read with
# lseek and read.
glibc_options=(-DHAVE_FDATASYNC=1 -DHAVE_USLEEP=1 -DHAVE_LOCALTIME_R=1 -DHAVE_GMTIME_R=1
               -DHAVE_ISNAN=1 -DHAVE_MALLOC_H=1 -DHAVE_MALLOC_USABLE_SIZE=1
               -DHAVE_POSIX_FALLOCATE=1 -DHAVE_STRCHRNUL=1 -DHAVE_STRERROR_R=1
               -DHAVE_PREAD=1 -DHAVE_PWRITE=1 -DHAVE_STDINT_H=1 -DHAVE_INTTYPES_H=1)

prefix=$cache/$(gcc -dumpmachine)
sqlite_amalgamation "$cache/src" >&2
sqlite_library gcc ar "$cache/src" "$prefix" "${glibc_options[@]}" >&2
echo "$prefix"
