# Sourced: SQLite built from Debian's source package, for the Windows
# targets and for the Linux Release programs alike, with one set of options,
# and what fetching it needs. The sourcing script may define `say` and `sudo`.
declare -F say >/dev/null || say() { echo "sqlite: $*" >&2; }

# shellcheck source=scripts/install-missing.sh
source "$(dirname "${BASH_SOURCE[0]}")/install-missing.sh"

# Left out: extension loading, which the programs never use, and double
# quotes around a string literal: the store's column names are written in
# double quotes, and a misspelled one must fail rather than become a text.
# Deleted content is overwritten, so that a store loaded again keeps nothing
# of the company it held before in its free pages.
sqlite_options=(-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DQS=0
                -DSQLITE_SECURE_DELETE)

# A deb-src entry for every deb entry of the machine's own sources, so that
# `apt-get source` finds Debian's source packages on whatever mirror this
# machine uses.
enable_sources() {
  local list=/etc/apt/sources.list.d/pv14-deb-src.sources
  [ -f "$list" ] && return
  local tmp
  tmp=$(mktemp)
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 stanzas: keep those of type deb, retyped; drop Types: deb-src ones.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t\n]|$)/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" >>"$tmp"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # One-line entries become a stanza each.
    awk '$1 == "deb" {
           i = 2; opts = ""
           if ($2 ~ /^\[/) { while ($i !~ /\]$/) { i++ } ; i++ }
           if (NF < i + 2) next
           printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $i, $(i + 1)
           for (j = i + 2; j <= NF; j++) printf " %s", $j
           printf "\n\n" }' "$f" >>"$tmp"
  done
  if ! grep -q "deb-src" "$tmp"; then
    rm -f "$tmp"
    say "no apt source to derive a deb-src entry from"
    return 1
  fi
  say "writing $list: deb-src entries beside this machine's apt sources, for SQLite's source package"
  $sudo install -m 644 "$tmp" "$list"
  rm -f "$tmp"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
}

# SQLite's amalgamation, made from Debian's source package, in DIR.
sqlite_amalgamation() {  # DIR
  local dir=$1
  [ -f "$dir/sqlite3.c" ] && return
  enable_sources
  local work
  work=$(mktemp -d)
  chmod 755 "$work"  # apt's sandbox user writes the download there
  (cd "$work" && apt-get source -qq --download-only sqlite3 >/dev/null &&
    dpkg-source -x --no-check ./*.dsc tree >/dev/null)
  mkdir -p "$work/build"
  make -s -C "$work/build" -f "$work/tree/Makefile.linux-gcc" TOP="$work/tree" sqlite3.c \
    >/dev/null
  mkdir -p "$dir"
  cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$dir/"
  rm -rf "$work"
}

# SQLite compiled by CC from the amalgamation in SOURCE with sqlite_options
# and any further OPTIONS, installed under PREFIX (lib/libsqlite3.a,
# include/sqlite3.h); made again when the options changed.
sqlite_library() {  # CC AR SOURCE PREFIX [OPTION...]
  local cc=$1 ar=$2 source=$3 prefix=$4
  shift 4
  local options=("${sqlite_options[@]}" "$@")
  local stamp=$prefix/lib/libsqlite3.options
  [ -f "$prefix/lib/libsqlite3.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "${options[*]}" ] && return
  local obj
  obj=$(mktemp -d)
  "$cc" "${options[@]}" -c "$source/sqlite3.c" -o "$obj/sqlite3.o"
  mkdir -p "$prefix/lib" "$prefix/include"
  "$ar" rcs "$prefix/lib/libsqlite3.a.new" "$obj/sqlite3.o"
  mv "$prefix/lib/libsqlite3.a.new" "$prefix/lib/libsqlite3.a"
  cp "$source/sqlite3.h" "$prefix/include/"
  echo "${options[*]}" >"$stamp"
  rm -rf "$obj"
}
