#!/usr/bin/env bash
# Prints what a DLL's own DllRegisterServer writes, without registering anything: the tree's
# zolbex11_regcapture runs the DLL's registration into a scratch key under Wine and prints one
# KEY<tab>NAME<tab>DATA line per value (keys below the classes root).
#   capture-registration.sh x86_64|i686 DLL >registration.txt
# The i686 tree's DLL runs under wine32, in the i386 chroot (scripts/setup-i386.sh) when this
# runs on the host. The prefix ($ZOLBEX11_BUILD_DIR/wineprefix-capture[-i686]) is kept for the
# next run: the capture leaves nothing in it.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
tree="$1" dll="$(realpath -m "$2")"

if [ "$tree" = i686 ] && [ "$(dpkg --print-architecture 2>/dev/null)" != i386 ]; then
    exec bash "$repo/scripts/i386-run.sh" /bin/bash "$repo/scripts/capture-registration.sh" "$tree" "$dll"
fi

. "$repo/scripts/lib/targets.sh"
zolbex11_target_use "$tree" capture
zolbex11_wine_keep_up
capture="$ZOLBEX11_BUILD_DIR/$tree/tools/regcapture/zolbex11_regcapture.exe"
[ -f "$capture" ] || { echo "capture-registration.sh: $capture is not built" >&2; exit 1; }
"$repo/cmake/wine-run.sh" "$capture" "$(zolbex11_winpath "$dll")" | tr -d '\r'
