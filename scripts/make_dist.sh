#!/usr/bin/env bash
# Builds the release package from a 32-bit build:
#   scripts/make_dist.sh <32-bit build dir> <version>
# <version> is the one src/base/version.h holds (scripts/version.sh prints it; the Makefile passes
# it). dist/tarnwick-<version>.zip holds the 32-bit tarnwick.dll, checked by check_dll.sh first,
# and readme.txt: tools/package/readme.txt (UTF-8 in the tree) with "@VERSION@" replaced by the
# version, in Shift-JIS with CR LF line ends, as Japanese Windows shows it.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <32-bit build dir> <version>" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
dll="$1/tarnwick.dll"
version=$2
package="$root/dist/tarnwick-$version.zip"
[ -f "$dll" ] || { echo "make_dist: $dll is missing; run make win32 first" >&2; exit 2; }

if ! report=$("$root/scripts/check_dll.sh" "$dll"); then
  echo "$report" | grep -v '^PASS' >&2
  echo "make_dist: $dll fails its check; no package made" >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$dll" "$stage/tarnwick.dll"
# iconv fails on a character that Shift-JIS cannot hold, so nothing is lost unnoticed.
sed "s/@VERSION@/$version/g" "$root/tools/package/readme.txt" | iconv -f UTF-8 -t CP932 |
  sed 's/$/\r/' >"$stage/readme.txt"

mkdir -p "$root/dist"
rm -f "$package"
(cd "$stage" && zip -q -X "$package" tarnwick.dll readme.txt)
echo "dist/$(basename "$package"):"
zip -sf "$package" | sed -n 's/^  /  /p'
