#!/usr/bin/env bash
# Runs every test suite of an already built tree and reports each; exits non-zero when any
# suite failed. Usage: run_tests.sh <build-root>
set -u
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
passed=0
failed=0
failures=()

run_suite() {
    local name=$1; shift
    echo "== $name"
    local started=$SECONDS outcome=passed
    if "$@"; then
        passed=$((passed + 1))
    else
        outcome=failed
        failed=$((failed + 1))
        failures+=("$name")
    fi
    echo "-- $name: $outcome in $((SECONDS - started)) s"
}

run_suite "house plan (includes point down)" bash "$here/scripts/check_layers.sh"
run_suite "native unit tests" ctest --test-dir "$build/native" --output-on-failure -j2
run_suite "sanitizer unit tests" ctest --test-dir "$build/asan" --output-on-failure -j2
run_suite "fuzz targets over their inputs" bash "$here/scripts/fuzz.sh" regress "$build/fuzz"
run_suite "32-bit DLL structure" bash "$here/scripts/check_dll.sh" "$build/win32/tarnwick.dll"
run_suite "Wine tests (64-bit twin)" bash "$here/tests/wine/run_wine_tests.sh" "$build/win64"
run_suite "Wine tests (32-bit product, emulated)" bash "$here/tests/wine/run_wine_tests_i386.sh" "$build"

echo
[ ${#failures[@]} -eq 0 ] || echo "failed suites: ${failures[*]}"
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
