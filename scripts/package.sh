#!/usr/bin/env bash
# Builds both trees and writes the release packages for Windows:
#   dist/zolbex11-<version>-win32.zip   the 32-bit DLL (for 32-bit clients)
#   dist/zolbex11-<version>-win64.zip   the 64-bit DLL (for 64-bit clients)
# Each holds the DLL (release build, no debug symbols), its .tlb, the C++ header, the member
# reference, the examples and INSTALL.md (how to register and unregister).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"

bash "$repo/scripts/build.sh"
bash "$repo/scripts/assemble-package.sh" "$ZOLBEX11_BUILD_DIR" "$repo/dist" win32 win64
