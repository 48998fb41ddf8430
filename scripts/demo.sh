#!/usr/bin/env bash
# Shows the plug-in at work in the replacement mail client under Wine:
#   scripts/demo.sh <32-bit build dir> <64-bit build dir (configured with TARNWICK_WINE_TESTS)>
# Copies the product DLL to dist/tarnwick.dll (and checks it), its 64-bit twin to
# dist/win64/tarnwick.dll, sets up demo-run/ with corvane32.exe, the plug-in and the bundled
# messages, runs one retrieval and prints what happened, then the INI file the plug-in wrote.
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

scenario="$root/demo-run"
rm -rf "$scenario"
mkdir -p "$scenario/Plugins" "$scenario/messages"
cp "$w64/tools/host/corvane32.exe" "$scenario/"
cp "$root/dist/win64/tarnwick.dll" "$scenario/Plugins/"
cp "$root/tools/host/demo/messages/"*.eml "$scenario/messages/"

source "$root/tests/wine/wine_session.sh"
trap wine_session_stop EXIT
wine_session_start "$w64" "$w64/demo-session"

echo
echo "== corvane32.exe (replacement host, 64-bit, under Wine) in demo-run/"
messages=()
for file in "$scenario/messages/"*.eml; do
  messages+=("messages\\$(basename "$file")")
done
cd "$scenario"
set +e
timeout -k 5 120 wine corvane32.exe "${messages[@]}" >"$scenario/output.txt" 2>"$scenario/errors.txt"
status=$?
set -e
tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
if [ $status -ne 0 ]; then
  echo "demo: corvane32.exe ended with status $status" >&2
  cat "$scenario/errors.txt" >&2
fi

echo
echo "== Plugins\\tarnwick.ini as the plug-in wrote it"
if [ -f "$scenario/Plugins/tarnwick.ini" ]; then
  tr -d '\r' <"$scenario/Plugins/tarnwick.ini" | iconv -f CP932 -t UTF-8
else
  echo "(no INI file)"
fi
exit $status
