#!/usr/bin/env bash
# Makes the prefix in WINEPREFIX anew for the examples, as a user's machine would be: the
# library registered machine-wide, and stand-ins for the drive tools Wine lacks.
#   prepare_prefix.sh BUILD_TREE DLL_WINDOWS_PATH   (either tree, with its own DLL)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$repo/scripts/lib/stand-ins.sh"

. "$repo/scripts/lib/wine.sh"
zolbex11_wineserver_stop "${WINEPREFIX:?}"
rm -rf "$WINEPREFIX"
"$repo/cmake/wine-run.sh" regsvr32 /s "$2"
zolbex11_install_drive_stand_ins "$1"
