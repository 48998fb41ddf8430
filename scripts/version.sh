#!/usr/bin/env bash
# Prints the plug-in's version as src/base/version.h holds it:
#   scripts/version.sh            "0.30"
#   scripts/version.sh --parts    "0 30" (major and minor, as FILEVERSION has them)
# Fails with a line saying why when the header does not hold both numbers.
set -euo pipefail
header="$(cd "$(dirname "$0")/.." && pwd)/src/base/version.h"
part() {
  sed -n "s/^#define TARNWICK_VERSION_$1 \\([0-9][0-9]*\\)\$/\\1/p" "$header"
}
major=$(part MAJOR)
minor=$(part MINOR)
if [ -z "$major" ] || [ -z "$minor" ]; then
  echo "version: no TARNWICK_VERSION_MAJOR and TARNWICK_VERSION_MINOR in $header" >&2
  exit 1
fi
case "${1:-}" in
  --parts) echo "$major $minor" ;;
  "") echo "$major.$minor" ;;
  *) echo "usage: $0 [--parts]" >&2; exit 2 ;;
esac
