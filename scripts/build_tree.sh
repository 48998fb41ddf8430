#!/usr/bin/env bash
# Configures and builds one CMake tree quietly, in one line:
#   scripts/build_tree.sh <tree dir> <label> [--target <target>]... [-- <configure argument>...]
# prints "build: <label> ... done in N s". Compiler and linker errors and warnings still show;
# the per-file lines do not (Ninja with --quiet). The tree is configured when it has no cache
# yet (with all the arguments), or when a -D<name>=<value> differs from its cache (with the
# -D arguments alone: a toolchain file or compiler is taken at the first configure only). A
# tree made by another generator is configured anew. JOBS (default 2) compile at once.
set -uo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 <tree dir> <label> [--target <target>]... [-- <configure argument>...]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1 label=$2
shift 2
targets=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) echo "build_tree: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] && shift
configure=("$@")
generator=Ninja
cache="$tree/CMakeCache.txt"

started=$SECONDS
printf 'build: %s ... ' "$label"

# The -D arguments whose value the cache does not hold yet.
changed_definitions() {
  local argument name value
  for argument in "${configure[@]}"; do
    case $argument in
      -DCMAKE_TOOLCHAIN_FILE=* | -DCMAKE_C_COMPILER=* | -DCMAKE_CXX_COMPILER=*) ;;
      -D*=*)
        name=${argument#-D}; value=${name#*=}; name=${name%%=*}
        [ "$(sed -n "s/^$name:[A-Z]*=//p" "$cache")" = "$value" ] || echo "$argument" ;;
    esac
  done
}

if [ -f "$cache" ] && ! grep -qxF "CMAKE_GENERATOR:INTERNAL=$generator" "$cache"; then
  rm -rf "$cache" "$tree/CMakeFiles"
fi
if [ ! -f "$cache" ]; then
  run_configure=("${configure[@]}")
else
  mapfile -t run_configure < <(changed_definitions)
fi
if [ ! -f "$cache" ] || [ ${#run_configure[@]} -gt 0 ]; then
  mkdir -p "$tree"
  if ! cmake -G "$generator" -S "$root" -B "$tree" "${run_configure[@]}" >"$tree/configure.log" 2>&1; then
    echo "failed"
    cat "$tree/configure.log" >&2
    exit 1
  fi
  # Warnings of the configure step (none are expected) still show.
  grep -A5 -E '^CMake (Warning|Deprecation)' "$tree/configure.log" >&2
fi

# Ninja names a failed step and shows its command line and output; a warning shows as the
# compiler's output alone. Left out: Ninja's "no work to do" and the summary lines of CMake
# running again for a changed CMakeLists.txt or a source file added or removed ("GLOB
# mismatch"). Output starts on a line of its own, and the
# tree's line is then repeated at the end.
cmake --build "$tree" -j "${JOBS:-2}" "${targets[@]}" -- --quiet 2>&1 |
  awk '/^ninja: no work to do\.$/ || /^-- (Configuring|Generating) done/ || /^-- GLOB mismatch!$/ ||
       /^-- Build files have been written to: / { next }
       !shown { print ""; shown = 1 }
       { print; fflush() }
       END { exit shown ? 3 : 0 }'
statuses=("${PIPESTATUS[@]}")
if [ "${statuses[0]}" -ne 0 ]; then
  echo "build: $label failed after $((SECONDS - started)) s" >&2
  exit 1
fi
[ "${statuses[1]}" -eq 3 ] && printf 'build: %s ... ' "$label"
echo "done in $((SECONDS - started)) s"
