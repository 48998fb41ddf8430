#!/usr/bin/env bash
# Checks the plug-in's house plan: each folder of src/ includes only its own headers and
# those of the folders below it. Prints every include that points up and fails on any.
#   scripts/check_layers.sh
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# From the ground up.
layers=(base config mail mailbox classifier host ui plugin)

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

failures=0
for file in $(cd "$here" && git ls-files 'src/*.h' 'src/*.cpp'); do
  folder=${file#src/}
  folder=${folder%%/*}
  own=$(rank_of "$folder")
  if [ "$own" -lt 0 ]; then
    echo "FAIL $file: src/$folder is not a layer of the plan"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r include; do
    target=${include%%/*}
    rank=$(rank_of "$target")
    if [ "$rank" -gt "$own" ]; then
      echo "FAIL $file includes \"$include\": $target lies above $folder"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$here/$file")
done
if [ "$failures" -eq 0 ]; then
  echo "PASS every include points down (${layers[*]})"
fi
[ "$failures" -eq 0 ]
