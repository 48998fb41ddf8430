#!/usr/bin/env bash
# The demo's two retrievals: corvane32.exe of a host build with the given plug-in and the
# bundled messages, each in a fresh folder below demo-run/: first with no INI file (the
# plug-in writes its defaults), then with the demo rules. Prints what happened to each
# message and the INI file as the plug-in left it.
#   scripts/demo_retrieval.sh <host build dir> <tarnwick.dll> <label>
# Run it through scripts/run_i386.sh for a 32-bit host build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host_build=$(cd "$1" && pwd) || exit 2
dll=$2
label=$3

source "$root/tests/wine/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM HUP PIPE
wine_session_start "$host_build" "$host_build/demo-session" || exit 2

# One run of corvane32.exe in a fresh scenario folder; an INI file given as second argument
# (UTF-8 in the tree) is put in place, in Shift-JIS, before the plug-in starts.
run_scenario() {
  local scenario=$1 rules=${2:-}
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins" "$scenario/messages"
  cp "$host_build/tools/host/corvane32.exe" "$scenario/"
  cp "$dll" "$scenario/Plugins/tarnwick.dll"
  cp "$root/tools/host/demo/messages/"*.eml "$scenario/messages/"
  if [ -n "$rules" ]; then
    iconv -f UTF-8 -t CP932 "$rules" | sed 's/$/\r/' >"$scenario/Plugins/tarnwick.ini"
  fi
  local messages=() file status
  for file in "$scenario/messages/"*.eml; do
    messages+=("messages\\$(basename "$file")")
  done
  (cd "$scenario" && timeout -k 5 300 wine corvane32.exe "${messages[@]}" >output.txt 2>errors.txt)
  status=$?
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  if [ $status -ne 0 ]; then
    echo "demo: corvane32.exe ended with status $status" >&2
    cat "$scenario/errors.txt" >&2
  fi
  echo
  echo "-- Plugins\\tarnwick.ini after the run"
  if [ -f "$scenario/Plugins/tarnwick.ini" ]; then
    tr -d '\r' <"$scenario/Plugins/tarnwick.ini" | iconv -f CP932 -t UTF-8
  else
    echo "(no INI file)"
  fi
  return $status
}

echo
echo "== 1. First start: no INI file yet (corvane32.exe with $label, in demo-run/first)"
run_scenario "$root/demo-run/first"
first=$?
echo
echo "== 2. The same messages with the rules of tools/host/demo/rules.ini (demo-run/rules)"
run_scenario "$root/demo-run/rules" "$root/tools/host/demo/rules.ini"
second=$?
[ $first -eq 0 ] && [ $second -eq 0 ]
