#!/usr/bin/env bash
# check-install.sh CMAKE BUILD_DIR PREFIX ARCH
# Installs the build into a fresh PREFIX and checks the kit's layout: the DLL and the
# console host, the header, the import libraries and the export table, nothing else, and
# the installed files equal to the built ones.
set -uo pipefail
cmake=$1 build=$2 prefix=$3 arch=$4
rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install failed"; exit 1; }

expected=$(printf '%s\n' "bin/$arch/Pinvale.dll" "bin/$arch/pinvale-host.exe" include/pinvale.h \
  "lib/$arch/Pinvale.def" "lib/$arch/Pinvale.lib" "lib/$arch/libPinvale.dll.a" | sort)
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
fail=0
if [ "$expected" != "$actual" ]; then
  echo "FAIL: installed files differ
expected:
$expected
actual:
$actual"
  fail=1
fi
for pair in "bin/Pinvale.dll:bin/$arch/Pinvale.dll" "bin/pinvale-host.exe:bin/$arch/pinvale-host.exe" \
            "implib/libPinvale.dll.a:lib/$arch/libPinvale.dll.a" "implib/Pinvale.lib:lib/$arch/Pinvale.lib"; do
  built=$build/${pair%%:*} installed=$prefix/${pair#*:}
  cmp -s "$built" "$installed" || { echo "FAIL: $installed differs from $built"; fail=1; }
done
rm -rf "$prefix"
[ $fail -eq 0 ] && echo "installed layout: $(echo $expected)"
exit $fail
