# Sourced, not run: puts the caller in the project's throwaway Wine prefix.
#   . scripts/wine-env.sh
# Sets WINEPREFIX to $ZOLBEX11_BUILD_DIR/wineprefix-test (never ~/.wine), keeps a
# wineserver up for fast start-up of every wine call, and stops it when the
# sourcing shell exits. Defines zolbex11_winpath to turn a Linux path into a
# Windows one on drive Z:.

_zolbex11_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$_zolbex11_repo/build}"
export WINEPREFIX="${ZOLBEX11_WINEPREFIX:-$ZOLBEX11_BUILD_DIR/wineprefix-test}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

. "$_zolbex11_repo/scripts/winpath.sh"

# Creates the prefix when it does not exist yet (about ten seconds).
zolbex11_wine_prefix_ready() {
    "$_zolbex11_repo/cmake/wine-run.sh" cmd /c exit 0 >/dev/null
}

zolbex11_wineserver_stop() {
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
}

mkdir -p "$WINEPREFIX"
wineserver -p
trap "zolbex11_wineserver_stop '$WINEPREFIX'" EXIT
