#!/usr/bin/env bash
# Structural check of the 32-bit plug-in DLL, which cannot run here:
#   scripts/check_dll.sh <path-to-32-bit tarnwick.dll>
# PE32 for i386, a DLL, exactly the thirteen entry points exported under plain names (no
# stdcall decoration, nothing exported by ordinal only), each compiled as stdcall with the
# arguments the client passes, imports from system DLLs only, and a
# version resource: file and product version as src/base/version.h has them (0.30), a
# Japanese block, product name Tarnwick.
# Prints one line per check and "N passed, N failed"; exits non-zero when a check failed.
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 <path-to-32-bit-dll>" >&2
  exit 2
fi
dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
read -r version_major version_minor < <("$(dirname "$0")/version.sh" --parts) || exit 2
version_text="$version_major.$version_minor"
windres=${WINDRES:-i686-w64-mingw32-windres}

expected_exports="APCCleanUp APCFolderCreate APCFolderEndRetrieve APCFolderInitMenu APCFolderLoad
APCFolderPreOpenView APCGetPlugName APCRecFilter APCSendInitMenu APCSetup APCStartUp
APCVersionInfo APCViewInitMenu"
# Each entry point with the bytes of arguments the client passes it.
expected_conventions="APCCleanUp@0 APCFolderCreate@4 APCFolderEndRetrieve@4 APCFolderInitMenu@12
APCFolderLoad@8 APCFolderPreOpenView@8 APCGetPlugName@0 APCRecFilter@4 APCSendInitMenu@12
APCSetup@4 APCStartUp@4 APCVersionInfo@4 APCViewInitMenu@12"
# DLLs every Windows system has; anything else (a C++ or thread runtime above all) would
# have to be shipped beside the plug-in.
allowed_imports="KERNEL32.DLL USER32.DLL GDI32.DLL COMCTL32.DLL SHELL32.DLL WININET.DLL WSOCK32.DLL
WS2_32.DLL CRYPT32.DLL ADVAPI32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL COMDLG32.DLL SHLWAPI.DLL
VERSION.DLL"

headers=$("$objdump" -p "$dll" 2>&1) || { echo "FAIL $objdump cannot read $dll as a 32-bit PE file"; echo "0 passed, 1 failed"; exit 1; }
file_header=$("$objdump" -f "$dll" 2>&1)

passed=0
failed=0
# Take the status before calling: expanding a description with $(...) would reset $?.
check() {  # check <description> <condition-exit-status> [detail]
  if [ "$2" -eq 0 ]; then
    echo "PASS $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1${3:+: $3}"
    failed=$((failed + 1))
  fi
}

grep -q 'file format pei-i386' <<<"$headers"
ok=$?
check "file format pei-i386" $ok

grep -qE '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$headers"
ok=$?
check "optional header is PE32" $ok

grep -qE '^architecture: i386' <<<"$file_header"
ok=$?
check "machine i386" $ok "$(grep '^architecture' <<<"$file_header")"

characteristics=$(awk '/^Characteristics/ { print $2; exit }' <<<"$headers")
[ $(( characteristics & 0x2000 )) -ne 0 ]
ok=$?
check "image is a DLL" $ok "characteristics $characteristics"

# The names of the export name table, one per line.
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
               on && /^\t\[ *[0-9]+\] / { sub(/^\t\[ *[0-9]+\] /, ""); print; next }
               on { on = 0 }' <<<"$headers" | sort)
expected=$(tr ' ' '\n' <<<"$expected_exports" | tr -s '\n' | sort)
[ "$exports" = "$expected" ]
ok=$?
check "exports exactly the thirteen entry points" $ok "$(diff <(echo "$expected") <(echo "$exports") | grep '^[<>]' | tr '\n' ' ')"

! grep -qE '@|^_' <<<"$exports"
ok=$?
check "export names carry no decoration" $ok "$(grep -E '@|^_' <<<"$exports" | tr '\n' ' ')"

# The first "Export Address Table" line holds the number of addresses, in hexadecimal.
address_hex=$(awk '/^\tExport Address Table[[:space:]]+[0-9a-f]+$/ { print $NF; exit }' <<<"$headers")
name_hex=$(awk '/^\t\[Name Pointer\/Ordinal\] Table[[:space:]]+[0-9a-f]+$/ { print $NF; exit }' <<<"$headers")
address_count=$([ -n "$address_hex" ] && echo $((16#$address_hex)))
name_count=$([ -n "$name_hex" ] && echo $((16#$name_hex)))
[ -n "$address_count" ] && [ "$address_count" = "$name_count" ]
ok=$?
check "no export by ordinal only" $ok "$address_count addresses, $name_count names"

# On 32-bit the callee removes its arguments (stdcall): an entry point compiled with another
# convention, or with other parameters than the client passes, corrupts the client's stack
# at its first call. The compiler's own symbol at each exported address says how it was
# built: "_APCFolderLoad@8" is stdcall with 8 bytes of arguments.
image_base=$(awk '/^ImageBase/ { print $2; exit }' <<<"$headers")
text_start=$(awk '$2 == ".text" { print $4; exit }' <<<"$("$objdump" -h "$dll")")
# "name rva" for every export, from the name table's index into the address table.
exported=$(awk '
  /^Export Address Table -- Ordinal Base/ { addresses = 1; next }
  addresses && /Export RVA$/ { i = $2; gsub(/[^0-9]/, "", i); rva[i + 0] = $(NF - 2); next }
  /^\[Ordinal\/Name Pointer\] Table/ { addresses = 0; names = 1; next }
  names && /^\t\[ *[0-9]+\] / { i = $0; sub(/\].*/, "", i); gsub(/[^0-9]/, "", i); print $NF, rva[i + 0]; next }
  names { names = 0 }' <<<"$headers")
# "symbol address" for the plug-in's stdcall symbols, as absolute addresses.
symbols=$("$objdump" -t "$dll" 2>/dev/null | awk '$NF ~ /^_APC[A-Za-z]+@[0-9]+$/ { print $NF, $(NF - 1) }')
wrong=""
for entry in $expected_conventions; do
  name=${entry%@*}
  rva=$(awk -v n="$name" '$1 == n { print $2 }' <<<"$exported")
  value=$(awk -v s="_$entry" '$1 == s { print $2 }' <<<"$symbols")
  if [ -z "$rva" ] || [ -z "$value" ] || [ -z "$image_base" ] || [ -z "$text_start" ] ||
     [ $((16#$image_base + 16#$rva)) -ne $((16#$text_start + value)) ]; then
    wrong="$wrong $name(found: $(awk -v n="_$name@" 'index($1, n) == 1 { printf "%s ", $1 }' <<<"$symbols"))"
  fi
done
[ -z "$wrong" ]
ok=$?
check "entry points are stdcall with the client's arguments" $ok "not as expected:$wrong"

imports=$(awk '/DLL Name:/ { print toupper($3) }' <<<"$headers" | sort -u)
unexpected=""
for name in $imports; do
  grep -qw -- "$name" <<<"$allowed_imports" || unexpected="$unexpected $name"
done
[ -n "$imports" ] && [ -z "$unexpected" ]
ok=$?
check "imports only system DLLs ($(echo $imports | tr '\n' ' '))" $ok "not a system DLL:$unexpected"

# The resources as windres reads them back from the image; the version block alone.
version=$("$windres" -i "$dll" -J coff -O rc 2>/dev/null |
          awk '/^[0-9]+ VERSIONINFO/ { on = 1 } on { print } on && /^END/ { exit }')
check_version() {  # check_version <description> <extended regular expression>
  grep -qE -- "$2" <<<"$version"
  check "version resource: $1" $? "$(grep -E 'VERSION|BLOCK "0|Translation' <<<"$version" | tr -s ' \n' ' ')"
}
[ -n "$version" ]
ok=$?
check "version resource present" $ok
check_version "file version $version_text" "^ FILEVERSION $version_major, $version_minor, 0, 0\$"
check_version "product version $version_text" "^ PRODUCTVERSION $version_major, $version_minor, 0, 0\$"
check_version "Japanese language block" 'BLOCK "0411[0-9A-Fa-f]{4}"'
check_version "Japanese translation entry" 'VALUE "Translation", 0x411,'
check_version "product name Tarnwick" 'VALUE "ProductName", "Tarnwick"$'
check_version "file version text $version_text" "VALUE \"FileVersion\", \"$version_major\\.$version_minor\"\$"
check_version "product version text $version_text" "VALUE \"ProductVersion\", \"$version_major\\.$version_minor\"\$"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
