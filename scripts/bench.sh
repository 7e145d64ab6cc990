#!/usr/bin/env bash
# Builds both trees, then runs every benchmark of the x86_64 tree under Wine in a throwaway
# prefix ($ZOLBEX11_BUILD_DIR/wineprefix-bench) with the library registered.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
bash "$repo/scripts/build.sh"

export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-bench"
. "$repo/scripts/wine-env.sh"
zolbex11_wine_prefix_fresh
zolbex11_wine_prefix_ready
wine regsvr32 /s "$(zolbex11_winpath "$ZOLBEX11_BUILD_DIR/x86_64/zolbex11.dll")"

for program in "$ZOLBEX11_BUILD_DIR"/x86_64/bench/*_bench.exe; do
    echo "== $(basename "$program" .exe)"
    wine "$program"
done
