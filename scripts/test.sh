#!/usr/bin/env bash
# Builds both trees and runs every test of the x86_64 tree with CTest in a fresh
# Wine prefix ($ZOLBEX11_BUILD_DIR/wineprefix-test). Exits with CTest's status.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"

bash "$repo/scripts/build.sh"

# A fresh prefix per run: tests change its registry and environment.
. "$repo/scripts/wine-env.sh"
zolbex11_wine_prefix_fresh

status=0
(cd "$ZOLBEX11_BUILD_DIR/x86_64" && ctest --output-on-failure) || status=$?
exit "$status"
