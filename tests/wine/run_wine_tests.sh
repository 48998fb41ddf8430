#!/usr/bin/env bash
# Runs every Wine test of a mingw x86_64 build, each test in a process and folder of its own:
#   tests/wine/run_wine_tests.sh <build-dir> [gtest-filter]
# A scenario folder holds a copy of the test program and Plugins\tarnwick.dll, so the
# plug-in's INI file and the mailbox start empty for every test. Runs under its own Xvfb
# display with a Japanese locale and one wineserver for the whole run. Prints one line per
# test and a last line "N passed, N failed"; exits non-zero when any test failed.
# Environment: WINE_TEST_TIMEOUT (seconds per test, default 60), WINE_TEST_JOBS (parallel
# tests, default 2), WINE_TEST_KEEP=1 keeps the scenario folders of passed tests,
# WINE_TEST_DLL the plug-in to load instead of the build's own (the 32-bit suite loads the
# product build's DLL into test programs of another build directory).
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <build-dir> [gtest-filter]" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
filter=${2:-*}
timeout_seconds=${WINE_TEST_TIMEOUT:-60}
jobs=${WINE_TEST_JOBS:-2}

programs=()
for name in wine_tests wine_tests_lacking_service; do
  [ -f "$build/tests/wine/$name.exe" ] && programs+=("$build/tests/wine/$name.exe")
done
dll=${WINE_TEST_DLL:-$build/tarnwick.dll}
if [ ${#programs[@]} -eq 0 ] || [ ! -f "$dll" ]; then
  echo "run_wine_tests: no test programs or no tarnwick.dll in $build (configure with -DTARNWICK_WINE_TESTS=ON)" >&2
  exit 2
fi

runs="$build/wine-runs"
source "$(dirname "$0")/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM HUP PIPE
wine_session_start "$build" "$build/wine-session" || exit 2
rm -rf "$runs"
mkdir -p "$runs"

# One test in a fresh folder; writes PASS/FAIL and the log's tail to $runs/<n>.result.
run_one() {
  local program=$1 test=$2 number=$3
  local folder="$runs/$number"
  mkdir -p "$folder/Plugins"
  # Hard links where possible: the linker replaces its output rather than rewriting it.
  ln "$program" "$folder/" 2>/dev/null || cp "$program" "$folder/"
  ln "$dll" "$folder/Plugins/tarnwick.dll" 2>/dev/null || cp "$dll" "$folder/Plugins/tarnwick.dll"
  local exe="$folder/$(basename "$program")"
  local started=$SECONDS
  timeout -k 5 "$timeout_seconds" wine "$exe" "--gtest_filter=$test" >"$folder/log.txt" 2>&1
  local rc=$?
  local took=$((SECONDS - started))
  tr -d '\r' <"$folder/log.txt" >"$folder/log"
  if [ $rc -eq 0 ] && grep -q '^\[  PASSED  \] 1 test' "$folder/log"; then
    echo "PASS $test (${took}s)" >"$runs/$number.result"
    [ "${WINE_TEST_KEEP:-0}" = 1 ] || rm -rf "$folder"
  else
    local why="exit $rc"
    [ $rc -eq 124 ] && why="timed out after ${timeout_seconds}s"
    {
      echo "FAIL $test ($why) in $folder"
      grep -v '^\[ *\(RUN\|==========\|----------\)' "$folder/log" | tail -n 25 | sed 's/^/    /'
    } >"$runs/$number.result"
  fi
}

number=0
listing_failed=0
for program in "${programs[@]}"; do
  # Starting a Wine process can fail now and then on a loaded machine: ask up to three times.
  listed=0
  for _ in 1 2 3; do
    if listing=$(timeout 60 wine "$program" --gtest_list_tests "--gtest_filter=$filter" 2>/dev/null); then
      listed=1
      break
    fi
  done
  if [ $listed -eq 0 ]; then
    echo "FAIL $(basename "$program") could not list its tests"
    listing_failed=$((listing_failed + 1))
    continue
  fi
  tests=$(tr -d '\r' <<<"$listing" | awk '
    /^[^ ]/ { suite = $1; next }
    /^  [^ ]/ { print suite $1 }')
  for test in $tests; do
    number=$((number + 1))
    run_one "$program" "$test" "$number" &
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
      wait -n
    done
  done
done
wait

passed=0
failed=$listing_failed
for i in $(seq 1 $number); do
  result="$runs/$i.result"
  if [ -f "$result" ]; then
    cat "$result"
    if head -n1 "$result" | grep -q '^PASS'; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
  else
    echo "FAIL test $i left no result"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$number" -gt 0 ]
