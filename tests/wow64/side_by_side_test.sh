#!/usr/bin/env bash
# Both DLLs side by side, as users install them on 64-bit Windows: registered
# machine-wide in one WOW64 prefix, each by the regsvr32 of its own pointer size.
# Unregistering either removes only what its registration owns (its classes, its
# interfaces, its platform entry of the type library) and leaves the other fully
# working from its own cscript: every client script passes there. Unregistering
# both leaves nothing in either view. The prefix ends with both registered again.
#   side_by_side_test.sh      (in the prefix of scripts/run-tree.sh tests wow64, both registered)
# Ends with the line SIDE-BY-SIDE-OK when every check held.
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$repo/scripts/lib/wow64.sh"

failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

classes='HKLM\Software\Classes'
progid=ZOLBEX11.clsZolbexENVProcessA

# Each view is read by the reg.exe of its own pointer size, as that side's programs
# see it (Wine's 64-bit view of the 32-bit side, /reg:32, lacks the keys the two share).
# reg_value BITS KEY: the key's default value in the view of BITS, or nothing.
reg_value() {
    zolbex11_wow64_program "$1" reg.exe query "$2" /ve 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *(Default) *REG_SZ *//p'
}
# expect_key BITS KEY present|absent
expect_key() {
    if zolbex11_wow64_program "$1" reg.exe query "$2" >/dev/null 2>&1; then
        [ "$3" = present ] || fail "$2 is still there in the $1-bit view"
    else
        [ "$3" = absent ] || fail "$2 is missing in the $1-bit view"
    fi
}
other_bits() { [ "$1" = 32 ] && echo 64 || echo 32; }
dll_of() { zolbex11_wow64_dll "$1"; }
platform_of() { [ "$1" = 32 ] && echo win32 || echo win64; }

clsid="$(reg_value 64 "$classes\\$progid\\CLSID")"
libid="$(reg_value 64 "$classes\\CLSID\\$clsid\\TypeLib")"
if [ -z "$clsid" ] || [ -z "$libid" ]; then
    echo "FAIL the 64-bit DLL is not registered ($progid: '$clsid', type library '$libid')"
    exit 1
fi
version="$classes\\TypeLib\\$libid\\2.1"

# Every client script through the cscript of BITS, which loads the DLL of BITS.
client_scripts_pass() {
    local script
    for script in "$repo"/tests/scripts/*.vbs "$repo"/tests/scripts/*.js; do
        ZOLBEX11_CSCRIPT="$(zolbex11_wow64_system "$1")\\cscript.exe" ZOLBEX11_WINE="$(zolbex11_wow64_loader "$1")" \
            "$repo/tests/scripts/run_script.sh" "$script" >"$log" 2>&1 ||
            { fail "$(basename "$script") from the $1-bit cscript:"; sed 's/^/    /' "$log"; }
    done
}

# Whether the cscript of BITS creates an object by ProgID.
creates() {
    local probe
    probe="$(mktemp --tmpdir --suffix=.vbs zolbex11-create.XXXXXX)"
    printf 'On Error Resume Next\r\nSet o = CreateObject("%s")\r\nIf Err.Number = 0 Then WScript.Echo "CREATED"\r\n' \
        "$progid" >"$probe"
    zolbex11_wow64_cscript "$1" //nologo "$(zolbex11_winpath "$probe")" 2>/dev/null | tr -d '\r' | grep -qx CREATED
    local status=$?
    rm -f "$probe"
    return $status
}

log="$(mktemp --tmpdir zolbex11-side-by-side.XXXXXX)"
trap 'rm -f "$log"' EXIT

for gone in 32 64; do
    kept="$(other_bits "$gone")"
    echo "-- the $gone-bit DLL unregistered, the $kept-bit one kept"
    zolbex11_wow64_regsvr32 "$gone" /u /s "$(dll_of "$gone")" || fail "regsvr32 /u of the $gone-bit DLL"
    expect_key "$gone" "$classes\\CLSID\\$clsid" absent
    expect_key "$kept" "$classes\\CLSID\\$clsid" present
    [ "$(reg_value "$kept" "$classes\\$progid\\CLSID")" = "$clsid" ] ||
        fail "the ProgID does not name the class in the $kept-bit view"
    [ "$(reg_value "$kept" "$version\\0\\$(platform_of "$kept")")" = "$(dll_of "$kept")" ] ||
        fail "the type library's $(platform_of "$kept") entry is not the $kept-bit DLL"
    expect_key "$kept" "$version\\0\\$(platform_of "$gone")" absent
    creates "$gone" && fail "the $gone-bit cscript still creates $progid"
    creates "$kept" || fail "the $kept-bit cscript does not create $progid"
    client_scripts_pass "$kept"
    zolbex11_wow64_regsvr32 "$gone" /s "$(dll_of "$gone")" || fail "regsvr32 of the $gone-bit DLL"
done

echo "-- both unregistered"
zolbex11_wow64_regsvr32 32 /u /s "$(dll_of 32)" || fail "regsvr32 /u of the 32-bit DLL"
zolbex11_wow64_regsvr32 64 /u /s "$(dll_of 64)" || fail "regsvr32 /u of the 64-bit DLL"
for bits in 32 64; do
    for key in "CLSID\\$clsid" "$progid" "TypeLib\\$libid"; do
        expect_key "$bits" "$classes\\$key" absent
    done
done
zolbex11_wow64_regsvr32 64 /s "$(dll_of 64)" && zolbex11_wow64_regsvr32 32 /s "$(dll_of 32)" ||
    fail "registering both again"

if [ "$failures" -ne 0 ]; then
    echo "side_by_side_test.sh: $failures checks failed"
    exit 1
fi
echo SIDE-BY-SIDE-OK
