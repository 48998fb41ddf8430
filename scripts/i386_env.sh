# Sourced by the 32-bit set-up and runners: where the emulated i386 environment lives and
# how to tell whether this machine can use it.
#   i386_env_ready        0 when the environment is complete and 32-bit code can run here;
#                         otherwise prints one line saying why and returns 1
#   i386_env_binfmt       mounts binfmt_misc if needed and registers the emulator for i386
#                         ELF programs (flag F: opened once, so the root needs no copy)
# The environment is outside the repository, below TARNWICK_I386_CACHE
# (default /var/cache/tarnwick-i386): the emulator, a Debian 12 i386 root with 32-bit Wine,
# the trap-number shim and a ready Wine prefix.

i386_cache=${TARNWICK_I386_CACHE:-/var/cache/tarnwick-i386}
i386_root="$i386_cache/root"
i386_emulator="$i386_cache/qemu/qemu-i386"
i386_binfmt_name=tarnwick-i386
i386_binfmt="/proc/sys/fs/binfmt_misc/$i386_binfmt_name"
# Inside the root: the shim preloaded into every Wine process and the prefix template.
i386_shim=/opt/tarnwick/libtrapno.so
i386_prefix_template=/opt/tarnwick/prefix
# Written last by the set-up; names what the complete environment contains, one line per
# version it satisfies: this one and the earlier ones it includes, so that the set-up of an
# older checkout does not take an environment completed by a newer one for unfinished.
i386_stamp="$i386_cache/complete"
i386_version="bookworm-i386 wine32 qemu-10.0.2 shim-1 prefix-1 hosts-1"
i386_earlier_versions=("bookworm-i386 wine32 qemu-10.0.2 shim-1 prefix-1")

i386_env_binfmt() {
  local binfmt_dir=/proc/sys/fs/binfmt_misc
  if [ ! -e "$binfmt_dir/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null || return 1
  fi
  if [ -e "$i386_binfmt" ]; then
    grep -qx "interpreter $i386_emulator" "$i386_binfmt" && grep -qx enabled "$i386_binfmt" && return 0
    echo -1 >"$i386_binfmt" 2>/dev/null || return 1
  fi
  [ -x "$i386_emulator" ] || return 1
  # The usual magic and mask of i386 ELF executables and shared objects.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":$i386_binfmt_name:M::$magic:$mask:$i386_emulator:OPF" >"$binfmt_dir/register" 2>/dev/null
}

i386_env_ready() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "32-bit environment: needs root (chroot and mounts); run as root or set TARNWICK_SKIP_32BIT=1"
    return 1
  fi
  if ! command -v unshare >/dev/null || ! command -v chroot >/dev/null; then
    echo "32-bit environment: unshare or chroot is missing; set TARNWICK_SKIP_32BIT=1 to skip it"
    return 1
  fi
  if [ ! -x "$i386_emulator" ]; then
    echo "32-bit environment: the emulator $i386_emulator is missing (scripts/setup_i386.sh prepares it); set TARNWICK_SKIP_32BIT=1 to skip it"
    return 1
  fi
  if ! i386_env_binfmt; then
    echo "32-bit environment: this machine offers no binfmt_misc to run i386 programs through the emulator; set TARNWICK_SKIP_32BIT=1 to skip it"
    return 1
  fi
  if ! grep -qxF "$i386_version" "$i386_stamp" 2>/dev/null; then
    echo "32-bit environment: $i386_cache is incomplete (scripts/setup_i386.sh prepares it); set TARNWICK_SKIP_32BIT=1 to skip it"
    return 1
  fi
  return 0
}
