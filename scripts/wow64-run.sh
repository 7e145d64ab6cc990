#!/usr/bin/env bash
# Runs a command in a fresh WOW64 prefix, inside the WOW64 chroot:
#   wow64-run.sh COMMAND [ARG...]
# The prefix ($ZOLBEX11_BUILD_DIR/wineprefix-$ZOLBEX11_WOW64_PURPOSE-wow64, purpose
# "run" by default) has both DLLs registered machine-wide, each by its own regsvr32;
# the command runs with WINEPREFIX set to it. Needs both trees built and
# `scripts/setup-i386.sh wow64` done. Its wineserver is stopped at the end.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
purpose="${ZOLBEX11_WOW64_PURPOSE:-run}"

exec bash "$repo/scripts/i386-run.sh" --chroot wow64 /bin/bash -c '
    set -e
    . "$0/scripts/lib/targets.sh"
    . "$0/scripts/lib/wow64.sh"
    zolbex11_target_use wow64 "$1"
    shift
    zolbex11_wow64_prefix_fresh
    "$@"' "$repo" "$purpose" "$@"
