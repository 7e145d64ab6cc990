#!/usr/bin/env bash
# Static checks of a built zolbex11.dll, without running it:
#   check_dll.sh <objdump> <dll> <expected file format>
# - the PE format is the expected one (pei-i386 for the shipped 32-bit DLL);
# - it exports exactly the five entry points of the server, by plain names;
# - it imports no MinGW runtime DLL (everything is linked statically).
set -euo pipefail

objdump="$1" dll="$2" expected_format="$3"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$dll" ] || { echo "FAIL: $dll does not exist (is that tree built?)"; exit 1; }

format="$("$objdump" -f "$dll" | sed -n 's/.*file format \(.*\)$/\1/p')"
[ "$format" = "$expected_format" ] || fail "file format is '$format', expected '$expected_format'"

headers="$("$objdump" -p "$dll")"

# Lines of the export name table look like "	[   0] DllCanUnloadNow".
exports="$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" \
           | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort)"
expected_exports="$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllInstall \
                    DllRegisterServer DllUnregisterServer | sort)"
if [ "$exports" != "$expected_exports" ]; then
    fail "exports differ from the five entry points:"
    diff <(echo "$expected_exports") <(echo "$exports") || true
fi

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
runtime_imports="$(grep -i -E '^(libstdc\+\+|libgcc|libwinpthread)' <<<"$imports" || true)"
[ -z "$runtime_imports" ] || fail "imports MinGW runtime DLLs: $(echo $runtime_imports)"

echo "$(basename "$dll"): format $format; exports $(echo $exports); imports $(echo $imports)"
[ "$failures" -eq 0 ]
