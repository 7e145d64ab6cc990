#!/usr/bin/env bash
# Builds the library, registers the x86_64 zolbex11.dll in a fresh Wine prefix
# ($ZOLBEX11_BUILD_DIR/wineprefix-tour) and runs the client tour examples/tour.vbs. The
# prefix gets a stand-in for the system's subst.exe, which is a stub in Wine.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"

bash "$repo/scripts/build.sh"

. "$repo/scripts/lib/wine.sh"
zolbex11_wine_use "$ZOLBEX11_BUILD_DIR/wineprefix-tour"
. "$repo/scripts/lib/stand-ins.sh"
zolbex11_wine_prefix_fresh

echo "== Installing a stand-in for subst.exe in the tour's prefix"
echo "   (the virtual drive needs it: Wine's subst.exe is a stub)"
zolbex11_install_drive_stand_ins "$ZOLBEX11_BUILD_DIR/x86_64"

echo "== Registering $ZOLBEX11_BUILD_DIR/x86_64/zolbex11.dll"
wine regsvr32 /s "$(zolbex11_winpath "$ZOLBEX11_BUILD_DIR/x86_64/zolbex11.dll")"

echo "== examples/tour.vbs"
output="$(wine cscript //nologo "$(zolbex11_winpath "$repo/examples/tour.vbs")")"
output="${output//$'\r'/}"
printf '%s\n' "$output"

# cscript under Wine stays silent and exits 0 when the script stops on an error.
if [ "${output##*$'\n'}" != "End of the tour." ]; then
    echo "tour.sh: the tour stopped before its end (a script error?)" >&2
    exit 1
fi
