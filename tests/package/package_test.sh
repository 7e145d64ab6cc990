#!/usr/bin/env bash
# The 64-bit release package as a user gets it: assembled from the built trees, unpacked into a
# folder of its own, checked for its files, registered for the current user only in a fresh
# prefix, and the JScript tour run from the unpacked folder to its end; then unregistered.
#   package_test.sh BUILD_DIR WORK_DIR     (BUILD_DIR holds the x86_64 tree)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "$1")"
work="$(realpath -m "$2")"
fail() { echo "package_test.sh: $*" >&2; exit 1; }

# A fresh prefix of the test's own, its wineserver stopped when the test ends.
. "$repo/scripts/lib/wine.sh"
zolbex11_wine_scratch_prefix "$work"
mkdir -p "$work/unpacked"

zip="$(bash "$repo/scripts/assemble-package.sh" "$build" "$work/dist" win64)"
echo "== $zip"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder="$work/unpacked/$(basename "$zip" .zip)"
for file in zolbex11.dll zolbex11.tlb zolbex11.sxs.manifest include/zolbex11_interfaces.h reference.md INSTALL.md \
            howto.md troubleshooting.md examples/tour.vbs examples/tour.js examples/cpp/tour.cpp \
            examples/cpp/regfree.manifest examples/vba/ZolbexTour.bas; do
    [ -f "$folder/$file" ] || fail "$file is missing from the package"
done
if x86_64-w64-mingw32-objdump -h "$folder/zolbex11.dll" | grep -q '\.debug'; then
    fail "the packaged DLL still has debug sections"
fi

. "$repo/scripts/lib/stand-ins.sh"
wine_run="$repo/cmake/wine-run.sh"
class_key='Software\Classes\ZOLBEX11.clsZolbex11RunTimeA'
dll="$(zolbex11_winpath "$folder/zolbex11.dll")"

echo "== regsvr32 /n /i:user $dll"
"$wine_run" regsvr32 /s /n /i:user "$dll" || fail "per-user registration failed"
"$wine_run" reg query "HKCU\\$class_key" >/dev/null 2>&1 || fail "no per-user registration found"
if "$wine_run" reg query "HKLM\\$class_key" >/dev/null 2>&1; then
    fail "the per-user registration wrote to HKEY_LOCAL_MACHINE"
fi

# Windows merges HKEY_CURRENT_USER\Software\Classes into the classes root that COM reads; Wine's
# COM reads only the machine's classes. So the per-user keys, and nothing else, are copied there:
# that they suffice to create every object is what the tour then shows.
user_keys="$work/user-classes.reg"
"$wine_run" reg export 'HKCU\Software\Classes' "$(zolbex11_winpath "$user_keys")" /y >/dev/null
iconv -f UTF-16 -t UTF-8 "$user_keys" \
    | sed 's/^\[HKEY_CURRENT_USER\\Software\\Classes/[HKEY_LOCAL_MACHINE\\Software\\Classes/' \
    | iconv -f UTF-8 -t UTF-16 >"$user_keys.machine"
"$wine_run" reg import "$(zolbex11_winpath "$user_keys.machine")" >/dev/null 2>&1 || fail "cannot copy the per-user keys"

zolbex11_install_drive_stand_ins "$build/x86_64"
echo "== examples/tour.js from the package"
"$repo/tests/examples/run_example.sh" cscript //nologo "$(zolbex11_winpath "$folder/examples/tour.js")"

"$wine_run" regsvr32 /s /u /n /i:user "$dll" || fail "per-user unregistration failed"
if "$wine_run" reg query "HKCU\\$class_key" >/dev/null 2>&1; then
    fail "the per-user registration is still there after unregistering"
fi
echo "package_test.sh: the package installs, runs its JScript tour and uninstalls"
