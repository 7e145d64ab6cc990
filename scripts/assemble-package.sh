#!/usr/bin/env bash
# Writes the release packages from built trees (scripts/package.sh builds them first):
#   assemble-package.sh BUILD_DIR DIST_DIR win32|win64...
# DIST_DIR/zolbex11-<version>-<arch>.zip holds one folder of the same name: the DLL without its
# debug symbols, its type library, its assembly manifest (use without registration), the C++
# header, the reference, the examples (with the C++ tour's application manifest) and INSTALL.md.
# The version is the one the trees were built with (project(VERSION) in CMakeLists.txt).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "$1")"
dist="$(realpath -m "$2")"
shift 2

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/x86_64/CMakeCache.txt")"
[ -n "$version" ] || { echo "assemble-package.sh: $build/x86_64 is not configured" >&2; exit 1; }
generated="$build/x86_64/generated"

mkdir -p "$dist"
for arch in "$@"; do
    case "$arch" in
        win32) tree=i686 tlb=zolbex11_win32.tlb manifest=zolbex11_win32.sxs.manifest ;;
        win64) tree=x86_64 tlb=zolbex11_win64.tlb manifest=zolbex11_win64.sxs.manifest ;;
        *) echo "assemble-package.sh: unknown target $arch (win32 or win64)" >&2; exit 2 ;;
    esac
    name="zolbex11-$version-$arch"
    staging="$(mktemp -d)"
    folder="$staging/$name"
    mkdir -p "$folder/include" "$folder/examples/cpp" "$folder/examples/vba"

    "$tree-w64-mingw32-strip" --strip-debug --strip-unneeded -o "$folder/zolbex11.dll" "$build/$tree/zolbex11.dll"
    cp "$generated/$tlb" "$folder/zolbex11.tlb"
    cp "$generated/$manifest" "$folder/zolbex11.sxs.manifest"
    cp "$generated/zolbex11_interfaces.h" "$folder/include/"
    cp "$generated/zolbex11_reference.md" "$folder/reference.md"
    cp "$repo/docs/INSTALL.md" "$repo/docs/howto.md" "$repo/docs/troubleshooting.md" "$folder/"
    cp "$repo/examples/tour.vbs" "$repo/examples/tour.js" "$folder/examples/"
    cp "$repo/examples/cpp/tour.cpp" "$folder/examples/cpp/"
    cp "$build/$tree/regfree.manifest" "$folder/examples/cpp/regfree.manifest"
    cp "$repo/examples/vba/ZolbexTour.bas" "$folder/examples/vba/"

    rm -f "$dist/$name.zip"
    (cd "$staging" && cmake -E tar cf "$dist/$name.zip" --format=zip "$name")
    rm -rf "$staging"
    echo "$dist/$name.zip"
done
