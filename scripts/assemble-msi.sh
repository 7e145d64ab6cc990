#!/usr/bin/env bash
# Writes the Windows Installer packages beside the zips (scripts/assemble-package.sh first):
#   assemble-msi.sh BUILD_DIR DIST_DIR win32|win64...
# DIST_DIR/zolbex11-<version>-<arch>.msi installs the files of the zip of the same name, per
# machine, and the DLL's registration as its own DllRegisterServer writes it for the installed
# path (scripts/capture-registration.sh; the win32 one runs under wine32 in the i386 chroot).
# Built with wixl (msitools).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "$1")"
dist="$(realpath -m "$2")"
shift 2
export ZOLBEX11_BUILD_DIR="$build"
. "$repo/scripts/lib/wine.sh"

command -v wixl >/dev/null || { echo "assemble-msi.sh: wixl is missing (scripts/setup.sh installs it)" >&2; exit 1; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x86_64/CMakeCache.txt")"
[ -n "$version" ] || { echo "assemble-msi.sh: $build/x86_64 is not configured" >&2; exit 1; }

for arch in "$@"; do
    case "$arch" in
        win32) tree=i686 wixl_arch=x86 ;;
        win64) tree=x86_64 wixl_arch=x64 ;;
        *) echo "assemble-msi.sh: unknown target $arch (win32 or win64)" >&2; exit 2 ;;
    esac
    name="zolbex11-$version-$arch"
    zip="$dist/$name.zip"
    [ -f "$zip" ] || { echo "assemble-msi.sh: $zip is missing (scripts/assemble-package.sh writes it)" >&2; exit 1; }
    # Under the build folder, which the i386 chroot sees at the same path.
    staging="$build/msi-$arch"
    rm -rf "$staging"
    mkdir -p "$staging"
    (cd "$staging" && cmake -E tar xf "$zip")
    folder="$staging/$name"

    bash "$repo/scripts/capture-registration.sh" "$tree" "$folder/zolbex11.dll" >"$staging/registration.txt"
    bash "$repo/scripts/msi-source.sh" "$arch" "$version" "$folder" "$staging/registration.txt" \
        "$(zolbex11_winpath "$folder/zolbex11.dll")" >"$staging/$name.wxs"
    rm -f "$dist/$name.msi"
    (cd "$folder" && wixl -a "$wixl_arch" -o "$dist/$name.msi" "$staging/$name.wxs")
    echo "$dist/$name.msi"
done
