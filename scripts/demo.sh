#!/usr/bin/env bash
# Shows the plug-in at work in the replacement mail client under Wine:
#   scripts/demo.sh <32-bit build dir> <64-bit build dir (configured with TARNWICK_HOST)>
#                   [<32-bit host build dir (mingw-i686-tests)>]
# Copies the product DLL to dist/tarnwick.dll (and checks it), its 64-bit twin to
# dist/win64/tarnwick.dll, then runs two retrievals (scripts/demo_retrieval.sh): with the
# 32-bit host and the product DLL under emulated 32-bit Wine when this machine can run it,
# otherwise with the 64-bit twin; the demo says which. A third run opens the settings
# dialogs with the demo rules and takes a picture of each (scripts/demo_rule_dialogs.sh); a
# fourth opens the other small dialogs the same way (scripts/demo_dialogs.sh).
# Then scripts/demo_summary.sh shows the end of a retrieval: the summary's message box and the
# notification window, each with a screenshot in its folder below demo-run/;
# scripts/demo_folder_window.sh shows the folder window after a retrieval (bold folders, the
# plug-in's toolbar button and its popup) in demo-run/folder-window; last,
# scripts/demo_trust.sh shows the link self-test's report and why a message was filed where it
# was in demo-run/trust.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <w32-build> <w64-build> [<w32-tests-build>]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
w32=$(cd "$1" && pwd)
w64=$(cd "$2" && pwd)
w32tests=""
[ -n "${3:-}" ] && [ -d "$3" ] && w32tests=$(cd "$3" && pwd)
for file in "$w32/tarnwick.dll" "$w64/tarnwick.dll" "$w64/tools/host/corvane32.exe"; do
  [ -f "$file" ] || { echo "demo: $file is missing; build both trees first" >&2; exit 2; }
done

mkdir -p "$root/dist/win64"
cp "$w32/tarnwick.dll" "$root/dist/tarnwick.dll"
cp "$w64/tarnwick.dll" "$root/dist/win64/tarnwick.dll"
echo "== dist/tarnwick.dll (32-bit product)"
"$root/scripts/check_dll.sh" "$root/dist/tarnwick.dll" | tail -n 1

source "$root/scripts/i386_env.sh"
set +e
# The retrievals run the product itself where this machine can run 32-bit code.
if [ -n "$w32tests" ] && [ -f "$w32tests/tools/host/corvane32.exe" ] && reason=$(i386_env_ready); then
  WINE_SESSION_PREFIX_TEMPLATE="$i386_root$i386_prefix_template" \
    bash "$root/scripts/run_i386.sh" bash "$root/scripts/demo_retrieval.sh" "$w32tests" \
    "$root/dist/tarnwick.dll" "the 32-bit product dist/tarnwick.dll, 32-bit Wine under emulation"
  retrievals=$?
else
  echo
  echo "demo: ${reason:-no 32-bit host build}; the retrievals run the 64-bit twin"
  bash "$root/scripts/demo_retrieval.sh" "$w64" "$root/dist/win64/tarnwick.dll" \
    "the 64-bit twin dist/win64/tarnwick.dll, 64-bit Wine"
  retrievals=$?
fi

source "$root/tests/wine/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM HUP PIPE
wine_session_start "$w64" "$w64/demo-session" || exit 2
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
echo "== 7. The folder window after a retrieval: bold folders, the toolbar button (demo-run/folder-window)"
source "$root/scripts/demo_folder_window.sh"
demo_folder_window "$root" "$w64" "$root/demo-run/folder-window"
folders=$?
echo
echo "== 8. Trust: the link self-test and why a message goes where it does (demo-run/trust)"
source "$root/scripts/demo_trust.sh"
demo_trust "$w64" "$root/demo-run/trust"
trust=$?
[ $retrievals -eq 0 ] && [ $third -eq 0 ] && [ $fourth -eq 0 ] && [ $summary -eq 0 ] &&
  [ $folders -eq 0 ] && [ $trust -eq 0 ]
