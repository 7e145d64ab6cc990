#!/usr/bin/env bash
# Both Windows Installer packages on one 64-bit machine: installed together, each DLL serves its
# own clients (64-bit cscript from system32, 32-bit from syswow64); removing either package
# leaves the other's clients working (the ProgIDs and the type library's version key, which both
# packages share, outlive the first removal); removing both leaves no file and no key of them.
#   msi_side_by_side.sh BUILD_DIR WORK_DIR
# Runs inside the WOW64 chroot (scripts/run-tree.sh tests wow64 runs it, CTest label wow64), in
# a fresh 64-bit prefix with 32-bit support of its own under WORK_DIR, where nothing is
# registered; each side's programs are started by their own loader (scripts/lib/wow64.sh).
# The packages are BUILD_DIR/msi-dist's: the win64 one made by the x86_64 suite, the win32 one by
# scripts/test.sh. The clients run the tour without its virtual-drive part, which needs the
# stand-in drive tools of one architecture.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "$1")" work="$(realpath -m "$2")"
fail() { echo "msi_side_by_side.sh: $*" >&2; exit 1; }
msi32="$(ls "$build"/msi-dist/zolbex11-*-win32.msi 2>/dev/null | head -1)"
msi64="$(ls "$build"/msi-dist/zolbex11-*-win64.msi 2>/dev/null | head -1)"
[ -n "$msi32" ] && [ -n "$msi64" ] || fail "both packages must be in $build/msi-dist (scripts/assemble-msi.sh)"

export ZOLBEX11_BUILD_DIR="$build" WINEARCH=win64
. "$repo/scripts/lib/wow64.sh"
zolbex11_wine_scratch_prefix "$work"
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] || fail "$WINEPREFIX has no 32-bit side: not a WOW64 Wine"

# The tour's client checks without the virtual drive.
sed '/^WScript.Echo("== A virtual drive/,/^fso.DeleteFolder(folder);$/d' "$repo/examples/tour.js" >"$work/tour-checks.js"
tour="$(zolbex11_winpath "$work/tour-checks.js")"
clients() {  # 32|64
    echo "== the $1-bit clients"
    ZOLBEX11_WINE="$(zolbex11_wow64_loader "$1")" \
        "$repo/tests/examples/run_example.sh" "$(zolbex11_wow64_system "$1")\cscript.exe" //nologo "$tour" \
        >"$work/clients-$1.log" ||
        { cat "$work/clients-$1.log"; fail "the $1-bit clients failed"; }
}
# Each package is installed and removed by the msiexec of its own bitness. On Windows the
# installer's 64-bit service writes a 32-bit package's keys through the 32-bit view, where the
# ProgIDs and the type library's keys are the very keys the 64-bit view has; Wine shares them only
# with 32-bit processes (a 64-bit process's 32-bit view is a copy of its own), so the 32-bit
# package goes through the 32-bit msiexec to land where Windows puts it.
bits_of() { case "$1" in *-win32.msi) echo 32 ;; *) echo 64 ;; esac; }
install() {
    echo "== msiexec /i $(basename "$1")"
    zolbex11_wow64_program "$(bits_of "$1")" msiexec.exe /i "$(zolbex11_winpath "$1")" /qn || fail "installing $1 failed"
}
remove() {
    echo "== msiexec /x $(basename "$1")"
    zolbex11_wow64_program "$(bits_of "$1")" msiexec.exe /x "$(zolbex11_winpath "$1")" /qn || fail "removing $1 failed"
}
# NAME: every key and value of HKLM\Software in both registry views, one sorted line each, each
# view read by the reg.exe of its own bitness (Wine's export shows keys the views share under
# Wow6432Node only some of the time, so that branch of the 64-bit view is left out).
snapshot() {
    local bits
    for bits in 64 32; do
        zolbex11_wow64_program "$bits" reg.exe export 'HKLM\Software' "$(zolbex11_winpath "$work/$1-$bits.reg")" /y >/dev/null
        iconv -f UTF-16 -t UTF-8 "$work/$1-$bits.reg" | tr -d '\r' |
            awk -v view="$bits" '/^\[/ { key = $0; print view " " key; next } NF { print view " " key "\t" $0 }' |
            grep -v -F '\Wow6432Node'
    done | LC_ALL=C sort >"$work/$1"
}
files() { (cd "$WINEPREFIX/drive_c" && find . -type f | LC_ALL=C sort) >"$work/$1"; }

snapshot before
files files-before
install "$msi32"
install "$msi64"
snapshot both
clients 64
clients 32
remove "$msi32"
clients 64
install "$msi32"
remove "$msi64"
clients 32
remove "$msi32"

snapshot removed
files files-removed
# Every key and value the two installs added is gone; only the empty keys of Windows Installer's
# own stores stay (made by the first install on a new machine; Windows always has them).
installer_stores='^(32|64) \[HKEY_LOCAL_MACHINE\\Software\\(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\Installer)[]\\][^'$'\t'']*$'
left="$(LC_ALL=C comm -13 "$work/before" "$work/both" | LC_ALL=C comm -12 - "$work/removed" | grep -v -E "$installer_stores" || true)"
[ -z "$left" ] || fail "keys of the packages are left after removing both:"$'\n'"$left"
left="$(LC_ALL=C comm -13 "$work/files-before" "$work/files-removed" | grep -v -i '/temp/' || true)"
[ -z "$left" ] || fail "files are left after removing both packages:"$'\n'"$left"
echo "msi_side_by_side.sh: either package removed, the other's clients still work; both removed, nothing left"
