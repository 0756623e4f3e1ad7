# Sourced: install_missing [--recommends] PACKAGE... installs those of the
# Debian packages named that are missing, waiting up to ten minutes for
# another install's package lock; nothing is asked of apt when all are there.
# The sourcing script may define `say` and `sudo`.
declare -F say >/dev/null || say() { echo "$*" >&2; }
if [ -z "${sudo+set}" ]; then
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
fi

install_missing() {
  local recommends=--no-install-recommends missing=() p
  if [ "${1:-}" = --recommends ]; then
    recommends=
    shift
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing: ${missing[*]}"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    $recommends "${missing[@]}" >/dev/null
}
