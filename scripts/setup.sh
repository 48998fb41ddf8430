#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need and prepares the emulated 32-bit
# environment (scripts/setup_i386.sh); does nothing when all is present.
#   scripts/setup.sh                   every package, then the 32-bit environment
#   scripts/setup.sh --demo <log dir>  the packages the demo needs; an incomplete 32-bit
#                                      environment is prepared in the background meanwhile,
#                                      its lines kept in <log dir>/setup-i386.log
#   scripts/setup.sh --wait <log dir>  waits for that background set-up, prints its lines and
#                                      exits with its status (at once when none was started)
# The demo builds while the 32-bit environment is prepared: only its retrievals need it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/i386_env.sh"

mode=${1:-all}
logs=${2:-}
if [ "$mode" != all ] && [ -z "$logs" ]; then
  echo "usage: $0 [--demo <log dir> | --wait <log dir>]" >&2
  exit 2
fi

# What `make demo` needs; the rest is for the tests, the fuzz targets, bench and dist.
demo_packages=(
  cmake make ninja-build
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth fonts-ipafont-gothic imagemagick debootstrap
)
test_packages=(
  g++ googletest libgtest-dev libgmock-dev libbenchmark-dev zip clang-14 libclang-rt-14-dev perl
)

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
updated=0
install() {
  [ $# -gt 0 ] || return 0
  echo "setup: installing $*"
  export DEBIAN_FRONTEND=noninteractive
  if [ $updated -eq 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
  $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

log="$logs/setup-i386.log"
status="$logs/setup-i386.status"

# Starts the 32-bit set-up in the background when it has work to do; otherwise runs it at
# once (it registers the emulator, or says why it prepares nothing).
start_i386_setup() {
  mkdir -p "$logs"
  rm -f "$log" "$status"
  if grep -qxF "$i386_version" "$i386_stamp" 2>/dev/null || [ "${TARNWICK_SKIP_32BIT:-0}" = 1 ] ||
     [ "$(id -u)" -ne 0 ]; then
    bash "$here/scripts/setup_i386.sh"
    return
  fi
  (
    code=0
    bash "$here/scripts/setup_i386.sh" >"$log" 2>&1 || code=$?
    echo "$code" >"$status"
  ) </dev/null >/dev/null 2>&1 &
  echo $! >"$logs/setup-i386.pid"
  echo "setup: preparing the 32-bit environment in the background (lines in $log)"
}

wait_i386_setup() {
  [ -f "$log" ] || return 0
  local pid
  pid=$(cat "$logs/setup-i386.pid" 2>/dev/null || true)
  while [ ! -f "$status" ] && [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; do
    sleep 1
  done
  cat "$log"
  [ -f "$status" ] || { echo "setup: the 32-bit set-up ended without a status" >&2; return 1; }
  return "$(cat "$status")"
}

case $mode in
  all)
    mapfile -t missing < <(missing_of "${demo_packages[@]}" "${test_packages[@]}")
    install "${missing[@]}"
    bash "$here/scripts/setup_i386.sh"
    ;;
  --demo)
    mapfile -t missing < <(missing_of "${demo_packages[@]}")
    # The 32-bit set-up needs debootstrap alone of them: it starts before the rest installs.
    if [[ " ${missing[*]} " == *" debootstrap "* ]]; then
      install debootstrap
      mapfile -t missing < <(missing_of "${demo_packages[@]}")
    fi
    start_i386_setup
    install "${missing[@]}"
    ;;
  --wait) wait_i386_setup ;;
  *) echo "usage: $0 [--demo <log dir> | --wait <log dir>]" >&2; exit 2 ;;
esac
