#!/usr/bin/env bash
# Runs every Wine test with the 32-bit replacement host and the 32-bit product DLL, under
# 32-bit Wine in the emulated i386 environment (scripts/setup_i386.sh prepares it):
#   tests/wine/run_wine_tests_i386.sh <build-root> [gtest-filter]
# The test programs come from <build-root>/win32-tests; the plug-in they load is
# <build-root>/win32/tarnwick.dll, the file the release carries. Fails with one line when
# this machine cannot run 32-bit code; TARNWICK_SKIP_32BIT=1 skips the suite and says so.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -lt 1 ]; then
  echo "usage: $0 <build-root> [gtest-filter]" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2

if [ "${TARNWICK_SKIP_32BIT:-0}" = 1 ]; then
  echo "SKIPPED: TARNWICK_SKIP_32BIT=1, the 32-bit product was not run"
  exit 0
fi
source "$here/scripts/i386_env.sh"
if ! reason=$(i386_env_ready); then
  echo "FAIL $reason"
  exit 1
fi
product="$build/win32/tarnwick.dll"
if [ ! -f "$product" ]; then
  echo "FAIL no 32-bit product at $product (make win32)"
  exit 1
fi

# Emulated processes run at about half speed and start more slowly: a longer deadline.
export WINE_TEST_DLL=$product
export WINE_TEST_TIMEOUT=${WINE_TEST_TIMEOUT:-150}
export WINE_SESSION_PREFIX_TEMPLATE="$i386_root$i386_prefix_template"
case "$build/" in
  "$here"/*) ;;
  *) export TARNWICK_I386_BIND="$build" ;;
esac
exec bash "$here/scripts/run_i386.sh" bash "$here/tests/wine/run_wine_tests.sh" \
  "$build/win32-tests" "${2:-*}"
