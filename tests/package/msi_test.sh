#!/usr/bin/env bash
# A Windows Installer package as an administrator deploys it, in a fresh prefix of its own:
# installed silently; its registry entries are exactly what the installed DLL's own
# DllRegisterServer writes for the same path; the JScript tour runs from the installed folder;
# uninstalled silently, after which no file and no key of it is left, while a variable and a file
# association a user made with the library stay. Also: the assembly
# manifest it ships names the classes as the registration does.
#   msi_test.sh BUILD_DIR win32|win64 WORK_DIR
# The package is BUILD_DIR/msi-dist/zolbex11-<version>-<arch>.msi, made by scripts/assemble-msi.sh
# from the staging folder BUILD_DIR/msi-<arch>. The win64 one is made here, from the x86_64
# tree; the win32 one by scripts/test.sh before the i686 suite (wixl runs on the host only, the
# i686 suite in the i386 chroot).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "$1")" arch="$2" work="$(realpath -m "$3")"
fail() { echo "msi_test.sh: $*" >&2; exit 1; }
case "$arch" in
    win32) tree="$build/i686" ;;
    win64) tree="$build/x86_64"
           bash "$repo/scripts/assemble-package.sh" "$build" "$build/msi-dist" win64 >/dev/null
           bash "$repo/scripts/assemble-msi.sh" "$build" "$build/msi-dist" win64 >/dev/null ;;
    *) fail "unknown target $arch (win32 or win64)" ;;
esac
msi="$(ls "$build"/msi-dist/zolbex11-*-"$arch".msi 2>/dev/null | head -1)"
[ -n "$msi" ] || fail "no $arch package in $build/msi-dist (scripts/assemble-msi.sh writes it)"
packed_dll="$(ls "$build"/msi-"$arch"/zolbex11-*/zolbex11.dll | head -1)"

# A fresh prefix of the test's own, its wineserver stopped when the test ends.
. "$repo/scripts/lib/wine.sh"
zolbex11_wine_scratch_prefix "$work"

. "$repo/scripts/lib/stand-ins.sh"
wine_run="$repo/cmake/wine-run.sh"
zolbex11_install_drive_stand_ins "$tree"
installed="$WINEPREFIX/drive_c/Program Files/ZOLBEX11"

# One line per key and per value (KEY<tab>VALUE-LINE) of a registry branch, sorted. The package
# has the prefix's own bitness, so only that registry view counts: Wine's export shows keys the
# views share under Wow6432Node too, but not every time, so that branch is left out.
snapshot() {
    local out="$work/$1.reg"  # NAME BRANCH
    "$wine_run" reg export "$2" "$(zolbex11_winpath "$out")" /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$out" | tr -d '\r' |
        awk '/^\[/ { key = $0; print key; next } NF { print key "\t" $0 }' | grep -v -F '\Wow6432Node' | LC_ALL=C sort
}
files() { (cd "$WINEPREFIX/drive_c" && find . -type f | LC_ALL=C sort); }
added() { LC_ALL=C comm -13 "$work/$1" "$work/$2"; }

snapshot software-before 'HKLM\Software' >"$work/software-before"
files >"$work/files-before"

echo "== msiexec /i $(basename "$msi") /qn"
"$wine_run" msiexec /i "$(zolbex11_winpath "$msi")" /qn || fail "the silent install failed"
[ -f "$installed/zolbex11.dll" ] || fail "no DLL in $installed"
snapshot software-installed 'HKLM\Software' >"$work/software-installed"
files >"$work/files-installed"
added software-before software-installed >"$work/package-lines"
# Windows Installer keeps its records of products in two stores, one of them in the classes root.
installer_stores='^\[HKEY_LOCAL_MACHINE\\Software\\(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\Installer)[]\\]'
own_classes() { grep -F '[HKEY_LOCAL_MACHINE\Software\Classes\' | grep -v -E "$installer_stores" || true; }
own_classes <"$work/package-lines" >"$work/package-keys"
echo "the install wrote $(added files-before files-installed | wc -l) files," \
     "$(grep -c -v $'\t' "$work/package-keys") keys with $(grep -c $'\t' "$work/package-keys") values below the classes root" \
     "and $(grep -v -c -F '[HKEY_LOCAL_MACHINE\Software\Classes\' "$work/package-lines") lines of the installer's own records"

echo "== examples/tour.js from the installed folder"
"$repo/tests/examples/run_example.sh" cscript //nologo "$(zolbex11_winpath "$installed/examples/tour.js")"
# Something of the user's own, made with the library: the uninstall must leave it.
output="$("$wine_run" cscript //nologo "$(zolbex11_winpath "$repo/tests/package/user_made.js")" | tr -d '\r')"
[ "${output##*$'\n'}" = made. ] || fail "the library could not make the user's variable and association: $output"

# The shipped assembly manifest names the classes, ProgIDs and threading model the
# registration writes.
grep -o 'clsid="[^"]*" progid="[^"]*" threadingModel="[^"]*"' "$installed/zolbex11.sxs.manifest" |
    sed 's/clsid="\([^"]*\)" progid="\([^"]*\)" threadingModel="\([^"]*\)"/\1 \2 \3/' | LC_ALL=C sort >"$work/manifest-classes"
awk -F'\t' '
    function clsid_of(key,   p) { split(key, p, /\\/); return p[5] }
    $1 ~ /\\CLSID\\\{[^\\]*\}\\ProgID\]$/ && $2 ~ /^@=/ { progid[clsid_of($1)] = substr($2, 4, length($2) - 4) }
    $1 ~ /\\CLSID\\\{[^\\]*\}\\InprocServer32\]$/ && $2 ~ /^"ThreadingModel"=/ { model[clsid_of($1)] = substr($2, 19, length($2) - 19) }
    END { for (c in progid) print c, progid[c], model[c] }' "$work/package-keys" | LC_ALL=C sort >"$work/registered-classes"
[ -s "$work/registered-classes" ] || fail "the package registered no class"
diff "$work/registered-classes" "$work/manifest-classes" || fail "the assembly manifest and the registration name different classes"

echo "== msiexec /x $(basename "$msi") /qn"
"$wine_run" msiexec /x "$(zolbex11_winpath "$msi")" /qn || fail "the silent uninstall failed"
snapshot software-removed 'HKLM\Software' >"$work/software-removed"
files >"$work/files-removed"
# Every key and value the install added is gone, the installer's own records included; only the
# stores' empty keys stay, made by the first install on a new machine (Windows always has them).
left="$(LC_ALL=C comm -12 "$work/package-lines" "$work/software-removed" | grep -v -E "$installer_stores[^"$'\t'"]*\$" || true)"
[ -z "$left" ] || fail "keys of the package are left after the uninstall:"$'\n'"$left"
kept() { "$wine_run" reg query "$@" >/dev/null 2>&1 || fail "the uninstall removed the user's $*"; }
kept 'HKLM\Software\Classes\.keptnote'
kept 'HKLM\Software\Classes\ZOLBEX11Kept.Note'
kept 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v ZOLBEX11_KEPT
left="$(added files-before files-removed | grep -v -i '/temp/' || true)"
[ -z "$left" ] || fail "files are left after the uninstall:"$'\n'"$left"
[ ! -e "$installed" ] || fail "the install folder is left"

# The same DLL at the same path, registered by its own DllRegisterServer: the same keys.
echo "== regsvr32 on the packed DLL at the installed path"
mkdir -p "$installed"
cp "$packed_dll" "$installed/zolbex11.dll"
installed_dll='C:\Program Files\ZOLBEX11\zolbex11.dll'
"$wine_run" regsvr32 /s "$installed_dll" || fail "regsvr32 failed"
snapshot software-registered 'HKLM\Software' >"$work/software-registered"
added software-removed software-registered | own_classes >"$work/registration-keys"
# The installer's folder text ends with a backslash (see scripts/msi-source.sh): the same folder.
sed 's/\\\\"$/"/' "$work/package-keys" | LC_ALL=C sort >"$work/package-keys.normal"
diff "$work/registration-keys" "$work/package-keys.normal" ||
    fail "the package's keys (>) differ from what DllRegisterServer writes (<)"
"$wine_run" regsvr32 /s /u "$installed_dll" || true
echo "msi_test.sh: installed, registered as DllRegisterServer does, toured, and removed without a trace"
