#!/usr/bin/env bash
# The long day (make soak): runs long_day.exe of a 64-bit build (tests/soak) with the plug-in in
# its own Wine session and prints what it prints, ending with
#   long day: GDI +a, USER +b, handles +c, private bytes +d KB
# A benchmark, not a test: it takes about half an hour and is not part of `make test`.
#   scripts/soak.sh <64-bit build dir> [rounds]     (a day is ten rounds)
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <64-bit build dir> [rounds]}" && pwd)
rounds=${2:-10}
program="$build/tests/soak/long_day.exe"
[ -f "$program" ] || { echo "soak: $program is missing; build the 64-bit tree first" >&2; exit 2; }

source "$here/tests/wine/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM HUP PIPE
work="$build/soak-run"
rm -rf "$work"
wine_session_start "$build" "$work" || exit 1

# A fresh program folder: the plug-in's INI file, rules and mailbox start empty.
day="$work/day"
mkdir -p "$day/Plugins"
cp "$program" "$day/"
cp "$build/tests/soak/Plugins/tarnwick.dll" "$day/Plugins/"
cd "$day" && wine long_day.exe "$rounds" 2>"$work/errors.txt" | tr -d '\r' | iconv -f CP932 -t UTF-8
exit "${PIPESTATUS[0]}"
