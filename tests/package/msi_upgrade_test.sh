#!/usr/bin/env bash
# The fixed upgrade code at work, in a fresh prefix: the win64 package of this build is replaced
# by one whose version differs only in the fourth part (Windows Installer compares three), then
# by a newer one; the older one is then refused. One product stays installed throughout, with
# its registration. The two other versions are made from the same staging folder and
# registration as the real package (scripts/assemble-msi.sh, which msi_test.sh runs first).
#   msi_upgrade_test.sh BUILD_DIR WORK_DIR
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "$1")" work="$(realpath -m "$2")"
fail() { echo "msi_upgrade_test.sh: $*" >&2; exit 1; }

# A fresh prefix of the test's own, its wineserver stopped when the test ends.
. "$repo/scripts/lib/wine.sh"
zolbex11_wine_scratch_prefix "$work"
wine_run="$repo/cmake/wine-run.sh"

msi="$(ls "$build"/msi-dist/zolbex11-*-win64.msi 2>/dev/null | head -1)"
folder="$(ls -d "$build"/msi-win64/zolbex11-*-win64 2>/dev/null | head -1)"
[ -n "$msi" ] && [ -n "$folder" ] || fail "no win64 package in $build/msi-dist (scripts/assemble-msi.sh)"
version="$(basename "$folder")" version="${version#zolbex11-}" version="${version%-win64}"
IFS=. read -r major minor patch fourth <<<"$version"
same_three="$major.$minor.$patch.$((fourth + 1))"
newer="$major.$minor.$((patch + 1)).0"

package_of() {  # VERSION: a package of the same files and registration with another version
    bash "$repo/scripts/msi-source.sh" win64 "$1" "$folder" "$build/msi-win64/registration.txt" \
        "$(zolbex11_winpath "$folder/zolbex11.dll")" >"$work/$1.wxs"
    (cd "$folder" && wixl -a x64 -o "$work/$1.msi" "$work/$1.wxs")
    echo "$work/$1.msi"
}
installed_versions() {
    "$wine_run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | sed -n 's/^ *DisplayVersion *REG_SZ *//p' | sort | tr '\n' ' '
}
install() {  # MSI EXPECTED-VERSIONS
    "$wine_run" msiexec /i "$(zolbex11_winpath "$1")" /qn || fail "installing $(basename "$1") failed"
    [ "$(installed_versions)" = "$2 " ] || fail "after $(basename "$1"): installed $(installed_versions), not $2"
    "$wine_run" reg query 'HKLM\Software\Classes\ZOLBEX11.clsZolbex11RunTimeA\CLSID' >/dev/null 2>&1 ||
        fail "after $(basename "$1"): the ProgID is not registered"
    echo "$(basename "$1"): installed $2"
}

install "$msi" "$version"
install "$(package_of "$same_three")" "$same_three"
install "$(package_of "$newer")" "$newer"
if "$wine_run" msiexec /i "$(zolbex11_winpath "$msi")" /qn; then fail "the older package installed over the newer"; fi
[ "$(installed_versions)" = "$newer " ] || fail "after refusing the older package: installed $(installed_versions)"
echo "msi_upgrade_test.sh: each newer package replaced the installed one; the older one was refused"
