#!/usr/bin/env bash
# Shows the plug-in at work in the replacement mail client under Wine:
#   scripts/demo.sh <32-bit build dir> <64-bit build dir (configured with TARNWICK_WINE_TESTS)>
# Copies the product DLL to dist/tarnwick.dll (and checks it), its 64-bit twin to
# dist/win64/tarnwick.dll, then runs corvane32.exe with the plug-in and the bundled messages
# twice, each time in a fresh folder below demo-run/: first with no INI file (the plug-in
# writes its defaults), then with the demo rules. Each run retrieves the messages, prints what
# happened to each and the INI file as the plug-in left it. A third run opens the settings
# dialogs with the demo rules and takes a picture of each (scripts/demo_rule_dialogs.sh); a
# fourth opens the other small dialogs the same way (scripts/demo_dialogs.sh).
# Then scripts/demo_summary.sh shows the end of a retrieval: the summary's message box and the
# notification window, each with a screenshot in its folder below demo-run/; last,
# scripts/demo_folder_window.sh shows the folder window after a retrieval (bold folders, the
# plug-in's toolbar button and its popup) in demo-run/folder-window.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <w32-build> <w64-build>" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
w32=$(cd "$1" && pwd)
w64=$(cd "$2" && pwd)
for file in "$w32/tarnwick.dll" "$w64/tarnwick.dll" "$w64/tools/host/corvane32.exe"; do
  [ -f "$file" ] || { echo "demo: $file is missing; build both trees first" >&2; exit 2; }
done

mkdir -p "$root/dist/win64"
cp "$w32/tarnwick.dll" "$root/dist/tarnwick.dll"
cp "$w64/tarnwick.dll" "$root/dist/win64/tarnwick.dll"
echo "== dist/tarnwick.dll (32-bit product)"
"$root/scripts/check_dll.sh" "$root/dist/tarnwick.dll" | tail -n 1

source "$root/tests/wine/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM HUP PIPE
wine_session_start "$w64" "$w64/demo-session" || exit 2

# One run of corvane32.exe in a fresh scenario folder; an INI file given as second argument
# (UTF-8 in the tree) is put in place, in Shift-JIS, before the plug-in starts.
run_scenario() {
  local scenario=$1 rules=${2:-}
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins" "$scenario/messages"
  cp "$w64/tools/host/corvane32.exe" "$scenario/"
  cp "$root/dist/win64/tarnwick.dll" "$scenario/Plugins/"
  cp "$root/tools/host/demo/messages/"*.eml "$scenario/messages/"
  if [ -n "$rules" ]; then
    iconv -f UTF-8 -t CP932 "$rules" | sed 's/$/\r/' >"$scenario/Plugins/tarnwick.ini"
  fi
  local messages=() file status
  for file in "$scenario/messages/"*.eml; do
    messages+=("messages\\$(basename "$file")")
  done
  (cd "$scenario" && timeout -k 5 120 wine corvane32.exe "${messages[@]}" >output.txt 2>errors.txt)
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

set +e
echo
echo "== 1. First start: no INI file yet (corvane32.exe, 64-bit, under Wine, in demo-run/first)"
run_scenario "$root/demo-run/first"
first=$?
echo
echo "== 2. The same messages with the rules of tools/host/demo/rules.ini (demo-run/rules)"
run_scenario "$root/demo-run/rules" "$root/tools/host/demo/rules.ini"
second=$?
echo
echo "== 3. The sorting-rule and header-rule dialogs with the same rules (demo-run/settings)"
source "$root/scripts/demo_rule_dialogs.sh"
demo_rule_dialogs "$root" "$w64" "$root/demo-run/settings"
third=$?
echo
echo "== 4. The plug-in's other dialogs, one screenshot each (demo-run/dialogs)"
source "$root/scripts/demo_dialogs.sh"
demo_dialogs "$w64" "$root/demo-run/dialogs"
fourth=$?
source "$root/scripts/demo_summary.sh"
demo_summary "$root" "$w64"
summary=$?
echo
echo "== 6. The folder window after a retrieval: bold folders, the toolbar button (demo-run/folder-window)"
source "$root/scripts/demo_folder_window.sh"
demo_folder_window "$root" "$w64" "$root/demo-run/folder-window"
folders=$?
[ $first -eq 0 ] && [ $second -eq 0 ] && [ $third -eq 0 ] && [ $fourth -eq 0 ] && [ $summary -eq 0 ] &&
  [ $folders -eq 0 ]
