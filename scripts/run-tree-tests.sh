#!/usr/bin/env bash
# Runs the CTest suite of one build tree in a fresh Wine prefix of its own:
#   run-tree-tests.sh x86_64   on the host, under its 64-bit Wine
#   run-tree-tests.sh i686     inside the i386 chroot (scripts/i386-run.sh), under
#                              wine32 in a win32 prefix
# The prefix is $ZOLBEX11_BUILD_DIR/wineprefix-test (x86_64) or
# wineprefix-test-i686; one wineserver serves the whole run and is stopped at
# the end. Exits with CTest's status.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
target="$1"

. "$repo/scripts/target-env.sh" "$target" test

# A fresh prefix per run: tests change its registry and environment.
. "$repo/scripts/wine-env.sh"
zolbex11_wine_prefix_fresh

echo "== $target suite ($ZOLBEX11_BUILD_DIR/$target)"
cd "$ZOLBEX11_BUILD_DIR/$target"
ctest --output-on-failure
