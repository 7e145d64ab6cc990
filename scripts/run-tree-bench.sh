#!/usr/bin/env bash
# Runs every benchmark of one build tree in a fresh prefix with that tree's DLL
# registered, each report headed by the target's name:
#   run-tree-bench.sh x86_64   on the host
#   run-tree-bench.sh i686     inside the i386 chroot (scripts/i386-run.sh)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
target="$1"
. "$repo/scripts/target-env.sh" "$target" bench
. "$repo/scripts/wine-env.sh"
zolbex11_wine_prefix_fresh
wine regsvr32 /s "$(zolbex11_winpath "$ZOLBEX11_BUILD_DIR/$target/zolbex11.dll")"

for program in "$ZOLBEX11_BUILD_DIR/$target"/bench/*_bench.exe; do
    echo "== [$target] $(basename "$program" .exe)"
    wine "$program"
done
