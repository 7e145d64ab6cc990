#!/usr/bin/env bash
# Installs what is missing, then builds both trees (Release):
#   $ZOLBEX11_BUILD_DIR/x86_64  generator, zolbex11.dll, tests (run under Wine)
#   $ZOLBEX11_BUILD_DIR/i686    the shipped 32-bit zolbex11.dll
# The i686 tree uses the x86_64 tree's generated type libraries, so it comes second.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZOLBEX11_BUILD_DIR:-$repo/build}"

bash "$repo/scripts/setup.sh"

cmake -S "$repo" -B "$build/x86_64" \
      -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release \
      -DZOLBEX11_I686_BUILD_DIR="$build/i686"
cmake --build "$build/x86_64" -j2

cmake -S "$repo" -B "$build/i686" \
      -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release \
      -DZOLBEX11_GENERATED_DIR="$build/x86_64/generated"
cmake --build "$build/i686" -j2
