#!/usr/bin/env bash
# Makes the packages into dist-packages/ and tests each as a user gets it:
#
#   * a Debian package (amd64) of both programs, ledger-engine and the Qt
#     face, built with Debian's build flags and linked with Debian's
#     libraries; checked by lintian, installed with apt-get (or unpacked
#     into a scratch root without root rights), one golden export through
#     the programs on PATH, removed, nothing left;
#   * one Windows Installer package per Windows build (from dist-win32/ and
#     dist-win64/, made by scripts/windows.sh); the x86_64 one is installed
#     silently into a fresh wine prefix, exports the same golden report
#     with the installed programs and is uninstalled, its folder gone.
#
#   scripts/packages.sh [deb] [msi]   both when none is named
#
# The version is the project's (CMakeLists.txt), in every package.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$SECONDS
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(deb msi)

say() { echo "packages: $*" >&2; }
fail() {
  say "FAILED: $*"
  exit 1
}
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
# shellcheck source=scripts/sqlite-source.sh
source "$root/scripts/sqlite-source.sh"

version=$(sed -n 's/^project(LedgerToPv14 VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
package=ledger19-to-pv14
libdir=/usr/lib/$package
etcdir=/etc/$package
manufacturer="Kanjomaru Software"
out=$root/dist-packages
work=$root/build-packages
mkdir -p "$out" "$work"
jobs=$(nproc)

# ---- the golden export both package tests run: the blue-return data set by
# the Std edition, business income, SUPPORT.INF beside the program.
golden=$root/tests/golden
golden_data=$golden/blue-general.json
golden_report=$golden/blue-general.expected.xml

# The data set with its folders moved to HOME_WINDOWS (documents, settings).
golden_engine_data() {  # HOME_WINDOWS OUTPUT
  python3 - "$golden_data" "$1" "$2" <<'EOF'
import json, sys
with open(sys.argv[1], encoding="utf-8") as f:
    data = json.load(f)
home = sys.argv[2]
data["AppFolders"] = {"Documents": home + "\\Documents\\", "Settings": home + "\\settings\\"}
with open(sys.argv[3], "w", encoding="utf-8") as f:
    json.dump(data, f, ensure_ascii=False)
EOF
}

# Z:\ form of a POSIX path (wine's Z: drive and the programs' default table).
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

check_report() {  # WRITTEN WHAT
  [ -s "$1" ] || fail "$2 wrote no report"
  cmp "$golden_report" "$1" >/dev/null || fail "$2: the report differs from $golden_report"
}

# ======================================================================
# The Debian package
# ======================================================================
deb_arch=$(dpkg --print-architecture)
deb_file=$out/${package}_${version}_${deb_arch}.deb

# A build of its own: Debian's hardening flags, Debian's shared libraries
# (so security updates of SQLite and the C++ runtime reach the programs).
build_deb_programs() {
  local dir=$root/build-deb
  DEB_BUILD_MAINT_OPTIONS=hardening=+all
  export DEB_BUILD_MAINT_OPTIONS
  CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPV14_STATIC_RUNTIME=OFF \
    -DPV14_SQLITE_PREFIX= -DPV14_BUILD_TESTS=OFF -DPV14_BUILD_BENCHMARKS=OFF \
    -DPV14_WITH_QT=ON >/dev/null
  cmake --build "$dir" -j"$jobs" --target LedgerStd19ToPv14 LedgerNet19ToPv14 ledger-engine \
    pv14_face_qt
  rm -rf "$work/deb-install"
  cmake --install "$dir" --prefix "$work/deb-install" >/dev/null
}

man_page() {  # TEMPLATE OUTPUT [PROGRAM EDITION SETTINGS OTHER]
  sed -e "s|@PROGRAM@|${3:-}|g; s|@EDITION@|${4:-}|g; s|@SETTINGS@|${5:-}|g" \
    -e "s|@OTHER@|${6:-}|g; s|@PACKAGE@|$package|g; s|@RELEASE@|$release|g" \
    -e "s|@LIBDIR@|$libdir|g; s|@ETCDIR@|$etcdir|g; s|@DATE@|$release_date|g" \
    "$1" | gzip -9n >"$2"
}

make_deb() {
  local src=$root/packaging/debian stage=$work/deb-root
  local changelog_version
  changelog_version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$src/changelog")
  [ "$changelog_version" = "$version" ] ||
    fail "packaging/debian/changelog begins with $changelog_version, the project is $version"
  # The release as the texts write it: 19.0.5 is 19.00.05.
  local fields
  IFS=. read -r -a fields <<<"$version"
  release=$(printf '%d.%02d.%02d' "${fields[0]}" "${fields[1]}" "${fields[2]}")
  release_date=$(date -u -d "$(sed -n 's/^ -- .*>  //p' "$src/changelog" | head -1)" +%Y-%m-%d)

  rm -rf "$stage"
  mkdir -p "$stage$libdir" "$stage/usr/bin" "$stage/usr/share/man/man1" \
    "$stage/usr/share/doc/$package" "$stage$etcdir" "$stage/DEBIAN"
  local program
  for program in LedgerStd19ToPv14 LedgerNet19ToPv14 ledger-engine; do
    install -m 0755 "$work/deb-install/$program" "$stage$libdir/"
    strip --remove-section=.comment --remove-section=.note "$stage$libdir/$program"
    # The program finds its folder through /proc/self/exe, which resolves
    # this link: it runs from, and reads its files in, $libdir.
    ln -s "../lib/$package/$program" "$stage/usr/bin/$program"
  done
  install -m 0644 "$work/deb-install/pv14-face-qt.so" "$stage$libdir/"
  strip --strip-unneeded --remove-section=.comment --remove-section=.note \
    "$stage$libdir/pv14-face-qt.so"
  # The files the filing application and the product leave beside the
  # program are theirs, kept under /etc, where an installer may write.
  ln -s "$etcdir/KurodaiDef.ini" "$stage$libdir/KurodaiDef.ini"
  ln -s "$etcdir/SUPPORT.INF" "$stage$libdir/SUPPORT.INF"

  man_page "$src/export-program.1.in" "$stage/usr/share/man/man1/LedgerStd19ToPv14.1.gz" \
    LedgerStd19ToPv14 "standard" LedgerStd19ToPv14.env LedgerNet19ToPv14
  man_page "$src/export-program.1.in" "$stage/usr/share/man/man1/LedgerNet19ToPv14.1.gz" \
    LedgerNet19ToPv14 "PRO" LedgerNet19ToPv14.env LedgerStd19ToPv14
  man_page "$src/ledger-engine.1.in" "$stage/usr/share/man/man1/ledger-engine.1.gz"
  install -m 0644 "$src/copyright" "$stage/usr/share/doc/$package/copyright"
  gzip -9n <"$src/changelog" >"$stage/usr/share/doc/$package/changelog.gz"

  # Dependencies from the binaries, as a source package's build finds them.
  local depends
  mkdir -p "$work/shlibdeps/debian"
  printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" \
    >"$work/shlibdeps/debian/control"
  depends=$(cd "$work/shlibdeps" && dpkg-shlibdeps -O \
    "$stage$libdir/LedgerStd19ToPv14" "$stage$libdir/LedgerNet19ToPv14" \
    "$stage$libdir/ledger-engine" "$stage$libdir/pv14-face-qt.so" 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')
  [ -n "$depends" ] || fail "dpkg-shlibdeps found no dependency"
  local size
  size=$(du -k -s --exclude=DEBIAN "$stage" | cut -f1)
  sed -e "s|@PACKAGE@|$package|; s|@VERSION@|$version|; s|@ARCH@|$deb_arch|" \
    -e "s|@SIZE@|$size|; s|@DEPENDS@|$depends|" "$src/control.in" >"$stage/DEBIAN/control"
  (cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2) >"$stage/DEBIAN/md5sums"
  chmod -R u+rwX,go+rX,go-w "$stage"
  chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
  rm -f "$out/${package}_"*.deb
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb_file" >/dev/null
  say "made $(basename "$deb_file")"
}

# No error from lintian; its warnings are printed (the README says which
# are kept and why).
lint_deb() {
  local report status=0
  report=$(lintian --tag-display-limit 0 "$deb_file" 2>&1) || status=$?
  [ -n "$report" ] && echo "$report" >&2
  if grep -q '^E:' <<<"$report"; then fail "lintian reports errors on $(basename "$deb_file")"; fi
  # Status 1 only for errors (checked above); anything else is lintian failing.
  [ "$status" -le 1 ] || fail "lintian could not check $(basename "$deb_file")"
}

# The golden export with the programs found on PATH, in a scratch folder.
# PROGRAM_ROOT is / for the installed package, else the scratch root.
deb_export() {  # PROGRAM_ROOT
  local t=$work/deb-run
  rm -rf "$t"
  mkdir -p "$t/home" "$t/out"
  golden_engine_data "$(windows_path "$t/home")" "$t/company.json"
  local status=0
  (
    export PATH=$1/usr/bin:/usr/bin:/bin HOME=$t/home LEDGER_ENGINE_DB=$t/engine.sqlite
    export PV14_UI=console PV14_DRIVES=Z=/ PV14_WINDOWS=$t/windows
    unset XDG_DATA_HOME XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY
    [ "$(command -v ledger-engine)" = "$1/usr/bin/ledger-engine" ] ||
      fail "ledger-engine on PATH is $(command -v ledger-engine)"
    ledger-engine load "$t/company.json"
    printf 'execute\n' | LedgerStd19ToPv14 "4242,32768,7,$(windows_path "$t/out/report.xml")" \
      2>"$t/stderr"
  ) || status=$?
  [ "$status" -eq 0 ] || fail "the installed programs' export ended with $status: $(cat "$t/stderr")"
  check_report "$t/out/report.xml" "LedgerStd19ToPv14 from the package"
  rm -rf "$t"
}

# The two files of the other applications, written for the test only where
# none are there (never over a real installation's), and removed again.
test_files_written=()
write_installed_files() {  # FOLDER
  local f
  for f in KurodaiDef.ini SUPPORT.INF; do
    [ -e "$1/$f" ] && fail "$1/$f is there already: not the test's to replace"
  done
  printf '[ProgramLevel]\r\nPV14=1\r\n' >"$1/KurodaiDef.ini"
  cp "$golden/SUPPORT.INF" "$1/SUPPORT.INF"
  test_files_written=("$1/KurodaiDef.ini" "$1/SUPPORT.INF")
}
remove_installed_files() {
  [ ${#test_files_written[@]} -eq 0 ] || rm -f "${test_files_written[@]}"
  test_files_written=()
}

apt_get() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@" >/dev/null
}

# Installed as a user installs it, exported from, removed; nothing left.
test_deb_installed() {
  # A package left by an interrupted run goes first: the test starts clean.
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
    apt_get purge "$package"
  fi
  apt_get install "$deb_file"
  local listed
  listed=$(dpkg-query -L "$package")
  trap 'remove_installed_files; apt_get purge '"$package"' || true' EXIT
  write_installed_files "$etcdir"
  deb_export ""
  if command -v man >/dev/null; then
    man -w LedgerStd19ToPv14 >/dev/null 2>&1 || fail "man finds no page for LedgerStd19ToPv14"
  fi
  remove_installed_files
  apt_get purge "$package"
  trap - EXIT
  # Every file and link is gone, and every folder of the package's own;
  # folders it shares with others (/usr/bin, ...) stay.
  local path left=()
  while IFS= read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
      [[ $path == "$libdir" || $path == "$etcdir" || $path == "/usr/share/doc/$package" ]] ||
        continue
      left+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
      left+=("$path")
    fi
  done <<<"$listed"
  [ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
  say "installed with apt-get, exported, removed: nothing left"
}

# Without root: unpacked into a scratch root, the two files put where the
# links lead there.
test_deb_scratch() {
  local scratch=$work/deb-scratch
  rm -rf "$scratch"
  dpkg-deb -x "$deb_file" "$scratch"
  local f
  for f in KurodaiDef.ini SUPPORT.INF; do rm "$scratch$libdir/$f"; done
  write_installed_files "$scratch$libdir"
  test_files_written=()
  deb_export "$scratch"
  rm -rf "$scratch"
  say "unpacked into a scratch root and exported (no root rights: not installed)"
}

run_deb() {
  install_missing dpkg-dev lintian python3 man-db
  build_deb_programs
  make_deb
  lint_deb
  if [ "$(id -u)" -eq 0 ]; then test_deb_installed; else test_deb_scratch; fi
}

# ======================================================================
# The Windows Installer packages
# ======================================================================
make_msi() {  # ARCH(x86|x64) PROGRAM_DIR OUTPUT [VERSION]
  [ -f "$2/LedgerStd19ToPv14.exe" ] || fail "no $2/LedgerStd19ToPv14.exe: run scripts/windows.sh"
  # wixl takes the programs' paths relative to the working folder.
  (cd "$(dirname "$2")" && wixl -a "$1" -D Arch="$1" -D Version="${4:-$version}" \
    -D Manufacturer="$manufacturer" -D ProgramDir="$(basename "$2")" \
    -o "$3" "$root/packaging/windows/LedgerToPv14.wxs")
  say "made $(basename "$3")"
}

# Installed silently into a fresh wine prefix of its own over an older
# release (which it replaces, and which then refuses to go over it), one
# golden export with the installed programs, uninstalled. It shows no
# window: the export runs on the console face, all on a display of its own.
test_msi() {  # MSI OLDER_MSI
  local t=$work/msi-run
  rm -rf "$t"
  mkdir -p "$t/home" "$t/out"
  local code older_code
  code=$(msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
  older_code=$(msiinfo export "$2" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
  golden_engine_data "$(windows_path "$t/home")" "$t/company.json"
  T=$t MSI=$1 OLDER=$2 CODE=$code OLDER_CODE=$older_code GOLDEN_SUPPORT=$golden/SUPPORT.INF \
    REPORT=$(windows_path "$t/out/report.xml") DATA=$(windows_path "$t/company.json") STORE=$(windows_path "$t/engine.sqlite") \
    xvfb-run -a bash -c '
    set -euo pipefail
    export WINEPREFIX=$T/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wineserver -p
    status=0
    (
      set -e
      wine wineboot -u >/dev/null 2>&1
      uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
      installed() { wine reg query "$uninstall_key\\$1" >/dev/null 2>&1; }
      # An older release first: this one replaces it (a major upgrade).
      wine msiexec /i "$(winepath -w "$OLDER")" /qn
      installed "$OLDER_CODE" || { echo "the older package did not install" >&2; exit 1; }
      wine msiexec /i "$(winepath -w "$MSI")" /qn "/l*v" "$(winepath -w "$T/install.log")"
      installed "$CODE" || { echo "not registered as installed" >&2; exit 1; }
      ! installed "$OLDER_CODE" || { echo "the older release stayed beside it" >&2; exit 1; }
      # And the older one refuses to go over it.
      if wine msiexec /i "$(winepath -w "$OLDER")" /qn; then
        echo "the older package installed over the newer" >&2; exit 1
      fi
      installed "$CODE" || { echo "the refused downgrade removed the newer" >&2; exit 1; }
      folder=$WINEPREFIX/drive_c/Program\ Files/LedgerToPv14
      for f in LedgerStd19ToPv14.exe LedgerNet19ToPv14.exe ledger-engine.exe; do
        [ -f "$folder/$f" ] || { echo "not installed: $folder/$f" >&2; exit 1; }
      done
      # What the filing application and the product leave there.
      printf "[ProgramLevel]\r\nPV14=1\r\n" >"$folder/KurodaiDef.ini"
      cp "$GOLDEN_SUPPORT" "$folder/SUPPORT.INF"
      export LEDGER_ENGINE_DB=$STORE PV14_UI=console
      wine "C:\\Program Files\\LedgerToPv14\\ledger-engine.exe" load "$DATA" </dev/null
      printf "execute\n" | wine "C:\\Program Files\\LedgerToPv14\\LedgerStd19ToPv14.exe" \
        "4242,32768,7,$REPORT" 2>"$T/stderr" || { echo "export status $?" >&2; exit 1; }
      # Their uninstallers remove these; ours must leave them alone.
      wine msiexec /x "$(winepath -w "$MSI")" /qn "/l*v" "$(winepath -w "$T/uninstall.log")"
      [ ! -e "$folder/LedgerStd19ToPv14.exe" ] || { echo "a program stayed: $(ls "$folder")" >&2; exit 1; }
      [ -f "$folder/KurodaiDef.ini" ] || { echo "uninstall removed KurodaiDef.ini" >&2; exit 1; }
      rm "$folder/KurodaiDef.ini" "$folder/SUPPORT.INF"
      rmdir "$folder"
      # Installed again and uninstalled with nothing foreign: the folder goes.
      wine msiexec /i "$(winepath -w "$MSI")" /qn
      wine msiexec /x "$(winepath -w "$MSI")" /qn "/l*v" "$(winepath -w "$T/uninstall.log")"
      [ ! -e "$folder" ] || { echo "left after uninstall: $(ls -A "$folder")" >&2; exit 1; }
      ! installed "$CODE" || { echo "still registered after uninstall" >&2; exit 1; }
    ) || status=$?
    wineserver -k 2>/dev/null || true
    exit $status' || fail "the x86_64 installer's test (log: $t/install.log, stderr: $t/stderr)"
  check_report "$t/out/report.xml" "LedgerStd19ToPv14.exe installed by $(basename "$1")"
  rm -rf "$t"
  say "installed $(basename "$1") silently under wine, exported, uninstalled: folder gone"
}

run_msi() {
  install_missing wixl msitools wine wine64 xvfb xauth python3
  rm -f "$out/"*.msi
  make_msi x86 "$root/dist-win32" "$out/LedgerToPv14-$version-x86.msi"
  make_msi x64 "$root/dist-win64" "$out/LedgerToPv14-$version-x64.msi"
  # The same programs as an older release, for the upgrade.
  make_msi x64 "$root/dist-win64" "$work/LedgerToPv14-older-x64.msi" "$((${version%%.*} - 1)).${version#*.}"
  test_msi "$out/LedgerToPv14-$version-x64.msi" "$work/LedgerToPv14-older-x64.msi"
}

for kind in "${kinds[@]}"; do
  case $kind in
    deb) run_deb ;;
    msi) run_msi ;;
    *) fail "unknown package kind $kind (deb, msi)" ;;
  esac
done
say "done after $((SECONDS - started)) s: $(cd "$out" && echo *)"
