#!/usr/bin/env bash
# Prepares the environment that runs the 32-bit product: qemu's i386 user-mode emulator
# (from Debian's bookworm-backports, unpacked, not installed), its binfmt_misc registration,
# a Debian 12 i386 root with 32-bit Wine and the Japanese font, its /etc/hosts, the
# trap-number shim and a ready Wine prefix. Reuses every stage that is complete and builds
# the rest, printing one line per stage with the time it took: an environment of an earlier
# version is completed in seconds. The first build takes several minutes and about 2 GB.
# Does nothing (and says so) when TARNWICK_SKIP_32BIT=1.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/i386_env.sh"

if [ "${TARNWICK_SKIP_32BIT:-0}" = 1 ]; then
  echo "setup: TARNWICK_SKIP_32BIT=1, the 32-bit environment is not prepared"
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: the 32-bit environment needs root (chroot, mounts, binfmt_misc); skipped" >&2
  exit 0
fi

mirror=${TARNWICK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$i386_cache"
exec 9>"$i386_cache/.setup.lock"
flock 9

if grep -qxF "$i386_version" "$i386_stamp" 2>/dev/null; then
  i386_env_binfmt || echo "setup: could not register the i386 emulator with binfmt_misc" >&2
  exit 0
fi
if [ -f "$i386_root/.tarnwick-debootstrap" ]; then
  echo "setup: completing the 32-bit environment in $i386_cache"
else
  echo "setup: preparing the 32-bit environment in $i386_cache (the first time takes several minutes)"
fi

stage_started=0
stage() {
  stage_started=$SECONDS
  printf 'setup: 32-bit environment: %s ... ' "$1"
}
# A stage that replaces part of the environment: until the set-up ends, it is not complete
# for any version. (Stages that only add leave the stamp, so runs of an earlier version can
# go on meanwhile.)
replacing_stage() {
  rm -f "$i386_stamp"
  stage "$1"
}
stage_done() {
  echo "done in $((SECONDS - stage_started)) s${1:+ ($1)}"
}

# Runs a command in the root with /proc, /sys and /dev mounted, in a mount namespace of its
# own so nothing stays mounted when it ends.
in_root() {
  unshare -m --propagation private bash -c '
    root=$1; shift
    mount -t proc proc "$root/proc" && mount -t sysfs sys "$root/sys" &&
    mount --rbind /dev "$root/dev" || exit 1
    exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
      DEBIAN_FRONTEND=noninteractive "$@"' in_root "$i386_root" "$@"
}

# 1. The emulator: Debian 12's own qemu-user-static registers no i386 handler and is too slow
# for Wine; the backport's static qemu-i386 is used from its unpacked package.
if ! "$i386_emulator" --version 2>/dev/null | grep -q 'version 10\.'; then
  replacing_stage "emulator (qemu-i386 from bookworm-backports)"
  apt_dir="$i386_cache/apt"
  rm -rf "$apt_dir" "$i386_cache/qemu"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$i386_cache/qemu"
  echo "deb $mirror bookworm-backports main" >"$apt_dir/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir" -o Debug::NoLocking=1
    -o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" update -qq
  (cd "$apt_dir" && apt-get "${apt_options[@]}" download -qq qemu-user)
  dpkg-deb --fsys-tarfile "$apt_dir"/qemu-user_*.deb | tar -x -O ./usr/bin/qemu-i386 >"$i386_emulator"
  chmod 755 "$i386_emulator"
  rm -rf "$apt_dir"
  stage_done "$("$i386_emulator" --version | head -n 1)"
fi

stage "binfmt_misc registration"
if ! i386_env_binfmt; then
  echo "failed"
  echo "setup: this machine cannot register the i386 emulator with binfmt_misc; 32-bit tests cannot run here (TARNWICK_SKIP_32BIT=1 skips them)" >&2
  exit 1
fi
stage_done

# 2. The Debian 12 i386 root, both debootstrap stages; the second runs i386 code already.
if [ ! -x "$i386_root/usr/bin/apt-get" ] || [ ! -f "$i386_root/.tarnwick-debootstrap" ]; then
  replacing_stage "Debian 12 i386 root (debootstrap, about 3 minutes)"
  rm -rf "$i386_root"
  debootstrap --arch=i386 --variant=minbase --foreign bookworm "$i386_root" "$mirror" \
    >"$i386_cache/debootstrap.log" 2>&1
  unshare -m --propagation private chroot "$i386_root" /debootstrap/debootstrap --second-stage \
    >>"$i386_cache/debootstrap.log" 2>&1
  touch "$i386_root/.tarnwick-debootstrap"
  stage_done
fi

# 3. 32-bit Wine, the Japanese font and a compiler for the shim.
if [ ! -x "$i386_root/usr/lib/wine/wine" ] || [ ! -x "$i386_root/usr/bin/gcc" ]; then
  replacing_stage "Wine, the Japanese font and a C compiler (about 3 minutes)"
  cp /etc/resolv.conf "$i386_root/etc/resolv.conf"
  echo "deb $mirror bookworm main" >"$i386_root/etc/apt/sources.list"
  in_root apt-get update -qq >"$i386_cache/packages.log" 2>&1
  in_root apt-get install -y -qq --no-install-recommends wine wine32 fonts-ipafont-gothic \
    gcc libc6-dev >>"$i386_cache/packages.log" 2>&1
  in_root apt-get clean >>"$i386_cache/packages.log" 2>&1
  stage_done
fi

# 4. Host names: without /etc/hosts nothing in the root resolves "localhost".
hosts=$'127.0.0.1\tlocalhost\n::1\tlocalhost\n'
if ! printf '%s' "$hosts" | cmp -s - "$i386_root/etc/hosts"; then
  stage "/etc/hosts (localhost)"
  printf '%s' "$hosts" >"$i386_root/etc/hosts.new"
  mv "$i386_root/etc/hosts.new" "$i386_root/etc/hosts"
  stage_done
fi

# 5. The trap-number shim, compiled inside the root for i386. The copy of its source is put
# in place last: a shim is up to date when that copy equals the source of the tree.
shim_source=/opt/tarnwick/trap_number_shim.c
if [ ! -f "$i386_root$i386_shim" ] || ! cmp -s "$here/tools/i386/trap_number_shim.c" "$i386_root$shim_source"; then
  replacing_stage "trap-number shim"
  mkdir -p "$i386_root/opt/tarnwick"
  rm -f "$i386_root$shim_source"
  cp "$here/tools/i386/trap_number_shim.c" "$i386_root$shim_source.new"
  in_root gcc -O2 -shared -fPIC -o "$i386_shim" -x c "$shim_source.new" -x none -ldl
  mv "$i386_root$shim_source.new" "$i386_root$shim_source"
  stage_done
fi

# 6. A Wine prefix made once, copied into each build's own prefix by the runners; its marker
# is written last. Remove the template to have it made again.
if [ ! -f "$i386_root$i386_prefix_template/.tarnwick-prefix" ]; then
  replacing_stage "Wine prefix (wineboot under emulation)"
  rm -rf "$i386_root$i386_prefix_template"
  in_root env WINEPREFIX="$i386_prefix_template" WINEDEBUG=-all LD_PRELOAD="$i386_shim" \
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    sh -c 'wine wineboot -i; wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f; wineserver -w' \
    >"$i386_cache/prefix.log" 2>&1 || true
  if [ ! -f "$i386_root$i386_prefix_template/system.reg" ]; then
    echo "failed"
    echo "setup: wineboot made no prefix (see $i386_cache/prefix.log)" >&2
    exit 1
  fi
  touch "$i386_root$i386_prefix_template/.tarnwick-prefix"
  stage_done
fi

printf '%s\n' "$i386_version" "${i386_earlier_versions[@]}" >"$i386_stamp"
echo "setup: 32-bit environment ready, $(du -sh "$i386_cache" 2>/dev/null | cut -f1) in $i386_cache"
