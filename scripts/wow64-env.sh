# Sourced inside the WOW64 chroot (scripts/i386-run.sh --chroot wow64), not run:
#   . scripts/wow64-env.sh [PURPOSE]        (PURPOSE test by default)
# Puts the caller in $ZOLBEX11_BUILD_DIR/wineprefix-PURPOSE-wow64, a 64-bit prefix
# with 32-bit support, as 64-bit Windows is for the shipped DLL: a 32-bit program
# runs there under WOW64 and sees the registry through Wine's redirection. Defines
#   zolbex11_wow64_prefix_fresh     a new prefix with both DLLs registered
#                                   machine-wide, each by its own regsvr32;
# and those of scripts/wow64-tools.sh (each side's regsvr32 and cscript).
# Both build trees must have been built.

_zolbex11_wow64_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$_zolbex11_wow64_repo/build}"
. "$_zolbex11_wow64_repo/scripts/target-env.sh" wow64 "${1:-test}"
. "$_zolbex11_wow64_repo/scripts/wine-env.sh"

. "$_zolbex11_wow64_repo/scripts/wow64-tools.sh"

zolbex11_wow64_prefix_fresh() {
    zolbex11_wine_prefix_fresh
    zolbex11_wow64_regsvr32 64 /s "$ZOLBEX11_WOW64_DLL64" &&
        zolbex11_wow64_regsvr32 32 /s "$ZOLBEX11_WOW64_DLL32"
}
