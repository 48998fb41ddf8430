#!/usr/bin/env bash
# Runs a command in which `wine` and `wineserver` are 32-bit Wine of the emulated i386 root:
#   scripts/run_i386.sh <command> [argument...]
# The command itself runs on this machine (Xvfb, ImageMagick and the shell tools are the
# machine's own); each Wine program it starts runs chrooted in the root under qemu's i386
# emulator. The repository, any folders named in TARNWICK_I386_BIND (blank-separated),
# /dev, /proc, /sys and the X sockets are mounted into the root for the command's lifetime
# only, in a mount namespace of its own. Exits 2 with one line saying why when this machine
# cannot run 32-bit code.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/i386_env.sh"

if [ $# -eq 0 ]; then
  echo "usage: $0 <command> [argument...]" >&2
  exit 2
fi
if ! reason=$(i386_env_ready); then
  echo "$reason" >&2
  exit 2
fi

# shellcheck disable=SC2016  # expanded by the inner shell
exec unshare -m --propagation private bash -c '
  set -e
  root=$1 here=$2; shift 2
  mount -t proc proc "$root/proc"
  mount -t sysfs sys "$root/sys"
  mount --rbind /dev "$root/dev"
  mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  for folder in "$here" ${TARNWICK_I386_BIND:-}; do
    mkdir -p "$root$folder"
    mount --bind "$folder" "$root$folder"
  done
  # A fault under emulation would otherwise leave a core file of the emulator behind.
  ulimit -c 0
  export TARNWICK_I386_ROOT=$root PATH="$here/tools/i386/bin:$PATH"
  exec "$@"' run_i386 "$i386_root" "$here" "$@"
