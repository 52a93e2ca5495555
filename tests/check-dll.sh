#!/usr/bin/env bash
# check-dll.sh OBJDUMP DLL DEF ARCH
# Checks the built file: machine type, exports (names and ordinals as the .def lists
# them, nothing else), imports (system DLLs only) and the version resource.
set -uo pipefail
objdump=$1 dll=$2 def=$3 arch=$4
fail=0
report() { echo "FAIL: $*"; fail=1; }
dump=$("$objdump" -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }

case $arch in
  x86) grep -q 'file format pei-i386' <<<"$dump" || report "not an x86 image" ;;
  x64) grep -q 'file format pei-x86-64' <<<"$dump" || report "not an x86-64 image" ;;
esac

expected=$(sed -n 's/^ *\([A-Za-z_][A-Za-z0-9_]*\)\(@[0-9]*\)\? *@\([0-9]*\).*/\3 \1/p' "$def" | sort -n)
actual=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' | sort -n)
# objdump lists name-table ordinals from 0; the image's ordinal base is added below.
base=$(sed -n 's/^Ordinal Base[[:space:]]*//p' <<<"$dump")
actual=$(while read -r n name; do [ -n "$n" ] && echo "$((n + base)) $name"; done <<<"$actual")
[ "$expected" = "$actual" ] || report "exports differ from the .def:
expected:
$expected
actual:
$actual"

imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u)
for dllname in $imports; do
  case $dllname in
    kernel32.dll|user32.dll|gdi32.dll|shell32.dll|advapi32.dll|msvcrt.dll) ;;
    *) report "imports $dllname" ;;
  esac
done

strings -el "$dll" | grep -qx 'Velmora Keelmark' || report "no product name in the version resource"
strings -el "$dll" | grep -qx '3.3.0.0' || report "no version 3.3.0.0 in the version resource"

echo "imports: $(echo $imports)"
echo "size: $(stat -c %s "$dll") bytes"
exit $fail
