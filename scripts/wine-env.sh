# Sourced, not run: puts the caller in the project's throwaway Wine prefix.
#   . scripts/wine-env.sh
# Sets WINEPREFIX to $ZOLBEX11_WINEPREFIX, by default
# $ZOLBEX11_BUILD_DIR/wineprefix-test (never ~/.wine), keeps a wineserver up so
# that every wine call starts fast, and stops it when the sourcing shell exits.
# Defines zolbex11_winpath (Linux path to Windows path on drive Z:),
# zolbex11_wine_prefix_ready and zolbex11_wine_prefix_fresh.

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

# Stops the wineserver of prefix $1 (and every program in it) and waits for it.
zolbex11_wineserver_stop() {
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
    WINEPREFIX="$1" wineserver -w 2>/dev/null || true
}

# Replaces the prefix with a new one, stopping its old wineserver first so that
# none is left behind serving a deleted folder.
zolbex11_wine_prefix_fresh() {
    zolbex11_wineserver_stop "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p
    zolbex11_wine_prefix_ready
}

mkdir -p "$WINEPREFIX"
wineserver -p
trap "zolbex11_wineserver_stop '$WINEPREFIX'" EXIT
