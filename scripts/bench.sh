#!/usr/bin/env bash
# Builds both trees, then runs the benchmarks of each: the x86_64 tree's under the
# host's Wine, the i686 tree's (the shipped DLL) under wine32 in the i386 chroot
# where this machine can run 32-bit code. Every report is headed by its target.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
bash "$repo/scripts/build.sh"

bash "$repo/scripts/run-tree-bench.sh" x86_64

i386_status=0
bash "$repo/scripts/setup-i386.sh" || i386_status=$?
case "$i386_status" in
    0) bash "$repo/scripts/i386-run.sh" /bin/bash "$repo/scripts/run-tree-bench.sh" i686 ;;
    3) ;;  # said in setup-i386.sh's one line
    *) exit "$i386_status" ;;
esac
