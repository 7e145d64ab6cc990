#!/usr/bin/env bash
# Builds both trees and writes the release packages for Windows:
#   dist/zolbex11-<version>-win32.zip   the 32-bit DLL (for 32-bit clients)
#   dist/zolbex11-<version>-win64.zip   the 64-bit DLL (for 64-bit clients)
#   dist/zolbex11-<version>-win32.msi   the same files as Windows Installer packages, installed
#   dist/zolbex11-<version>-win64.msi   per machine and registered (scripts/assemble-msi.sh)
# Each zip holds the DLL (release build, no debug symbols), its .tlb, its assembly manifest, the
# C++ header, the member reference, the examples and INSTALL.md (how to register and
# unregister, or use the DLL without registration). The win32 package reads the 32-bit DLL's
# registration under wine32, so it needs the i386 environment (scripts/setup-i386.sh); where
# this machine cannot run 32-bit code, one line says so and that package is not written.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
. "$repo/scripts/lib/targets.sh"

bash "$repo/scripts/setup.sh"
bash "$repo/scripts/build.sh"
bash "$repo/scripts/assemble-package.sh" "$ZOLBEX11_BUILD_DIR" "$repo/dist" win32 win64
bash "$repo/scripts/assemble-msi.sh" "$ZOLBEX11_BUILD_DIR" "$repo/dist" win64

i386_status=0
bash "$repo/scripts/setup-i386.sh" || i386_status=$?
zolbex11_if_32bit_runs package.sh "$i386_status" \
    --otherwise "package.sh: the win32 .msi is not written (no 32-bit Wine here)" \
    bash "$repo/scripts/assemble-msi.sh" "$ZOLBEX11_BUILD_DIR" "$repo/dist" win32
