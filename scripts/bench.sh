#!/usr/bin/env bash
# Builds both trees, then runs the benchmarks of each: the x86_64 tree's under the
# host's Wine, the i686 tree's (the shipped DLL) under wine32 in the i386 chroot
# where this machine can run 32-bit code. Every report is headed by its target, and
# each target ends with one table of its ratios (scripts/run-tree.sh).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
. "$repo/scripts/lib/targets.sh"
bash "$repo/scripts/build.sh"

bash "$repo/scripts/run-tree.sh" bench x86_64

i386_status=0
bash "$repo/scripts/setup-i386.sh" || i386_status=$?
zolbex11_if_32bit_runs bench.sh "$i386_status" \
    bash "$repo/scripts/i386-run.sh" /bin/bash "$repo/scripts/run-tree.sh" bench i686
