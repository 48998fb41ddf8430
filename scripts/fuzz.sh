#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build (build/fuzz, see tests/fuzz/CMakeLists.txt).
#   scripts/fuzz.sh run <build-dir> [target...]      fuzz each target in turn, niced
#   scripts/fuzz.sh regress <build-dir>              every committed input once, per target
# run: each target fuzzes for FUZZ_SECONDS of wall time (default 180), or, with
# FUZZ_CPU_SECONDS set, until it has used that much CPU time. Inputs it finds are kept in
# <build-dir>/corpus/<target> (seeded from tests/fuzz/corpus and tests/fuzz/regressions);
# a crash is written to <build-dir>/artifacts/<target>/ and reported. Prints one line per
# target: CPU seconds, executions, crashes.
# regress: runs tests/fuzz/corpus/<target> and tests/fuzz/regressions/<target> through
# their target without mutating; fails when any input crashes or breaks an invariant.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
build=${2:-}
if [ -z "$mode" ] || [ -z "$build" ]; then
  echo "usage: $0 run|regress <build-dir> [target...]" >&2
  exit 2
fi
shift 2
bin="$build/tests/fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$bin"/fuzz_*; do
    [ -x "$program" ] && [ -f "$program" ] && targets+=("$(basename "$program")")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets in $bin (configure with clang++-14 -DTARNWICK_FUZZ=ON)" >&2
  exit 2
fi

inputs_of() {
  find "$here/tests/fuzz/corpus/$1" "$here/tests/fuzz/regressions/$1" -type f 2>/dev/null | sort
}

# CPU seconds (user and system) a process has used so far.
cpu_seconds() {
  local fields
  read -r -a fields <"/proc/$1/stat" 2>/dev/null || { echo 0; return; }
  # Fields 14 and 15 count clock ticks; the name (field 2) holds no blanks here.
  echo $(( (fields[13] + fields[14]) / $(getconf CLK_TCK) ))
}

regress() {
  local failed=0 target
  for target in "${targets[@]}"; do
    mapfile -t files < <(inputs_of "$target")
    if [ ${#files[@]} -eq 0 ]; then
      echo "FAIL $target has no committed inputs"
      failed=$((failed + 1))
      continue
    fi
    if "$bin/$target" -runs=1 -artifact_prefix="$build/regress-" "${files[@]}" >"$build/$target.regress.log" 2>&1; then
      echo "PASS $target (${#files[@]} inputs)"
    else
      echo "FAIL $target (see $build/$target.regress.log)"
      grep -E 'invariant|ERROR|SUMMARY|Running:' "$build/$target.regress.log" | tail -n 5 | sed 's/^/    /'
      failed=$((failed + 1))
    fi
  done
  echo "$(( ${#targets[@]} - failed )) passed, $failed failed"
  [ "$failed" -eq 0 ]
}

fuzz_one() {
  local target=$1 corpus="$build/corpus/$1" artifacts="$build/artifacts/$1/"
  mkdir -p "$corpus" "$artifacts"
  inputs_of "$target" | while read -r seed; do cp -n "$seed" "$corpus/" 2>/dev/null; done
  local limit=()
  [ -n "${FUZZ_CPU_SECONDS:-}" ] || limit=(-max_total_time="${FUZZ_SECONDS:-180}")
  nice -n "${FUZZ_NICE:-19}" "$bin/$target" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$artifacts" \
    -rss_limit_mb=2048 -timeout=20 "$corpus" >"$build/$target.fuzz.log" 2>&1 &
  local pid=$! cpu=0
  while kill -0 "$pid" 2>/dev/null; do
    cpu=$(cpu_seconds "$pid")
    if [ -n "${FUZZ_CPU_SECONDS:-}" ] && [ "$cpu" -ge "$FUZZ_CPU_SECONDS" ]; then
      kill -INT "$pid"
      break
    fi
    sleep 2
  done
  wait "$pid"
  local runs crashes
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$target.fuzz.log" | grep -o '[0-9]*$')
  # Slow units are kept beside the crashes but are none.
  crashes=$(find "$artifacts" -type f ! -name 'slow-unit-*' | wc -l)
  echo "$target: ${cpu}s CPU, ${runs:-?} executions, $crashes crash inputs in $artifacts"
}

case "$mode" in
  regress) regress ;;
  run) for target in "${targets[@]}"; do fuzz_one "$target"; done ;;
  *) echo "fuzz: unknown mode $mode" >&2; exit 2 ;;
esac
