# Sourced: the helpers for running Windows programs under Wine in a private prefix. Sourcing
# defines functions only; nothing is made, started or trapped until one is called.
#   zolbex11_wine_defaults         the Wine variables every run uses (quiet, no Mono or Gecko)
#   zolbex11_wine_use PREFIX       puts the shell in PREFIX (never ~/.wine), with the defaults
#   zolbex11_winpath PATH          the Windows form of a Linux path (drive Z:)
#   zolbex11_wineserver_stop PREFIX      stops PREFIX's wineserver and its programs, and waits
#   zolbex11_wine_prefix_ready     creates the prefix in WINEPREFIX when it does not exist yet
#   zolbex11_wine_prefix_fresh     replaces it with a new one (its old wineserver stopped first)
#   zolbex11_wine_keep_up          keeps a wineserver up for WINEPREFIX until the shell exits,
#                                  so that every wine call starts fast
#   zolbex11_wine_scratch_prefix WORK    a test's own: WORK emptied, a fresh prefix in
#                                  WORK/wineprefix, its wineserver kept up until the shell exits

_zolbex11_wine_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$_zolbex11_wine_repo/scripts/lib/exit.sh"

zolbex11_wine_defaults() {
    # A caller's own debug channels are kept (the client-script runner asks for some).
    export WINEDEBUG="${WINEDEBUG:--all}"
    # Skip the Mono and Gecko installers that a new prefix would otherwise ask for.
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
}

zolbex11_wine_use() {
    export WINEPREFIX="$1"
    zolbex11_wine_defaults
}

# Wine maps the Linux root to drive Z:, so no (slow) winepath call is needed.
zolbex11_winpath() {
    local path
    path="$(realpath -m -- "$1")"
    printf 'Z:%s\n' "${path//\//\\}"
}

zolbex11_wineserver_stop() {
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
    WINEPREFIX="$1" wineserver -w 2>/dev/null || true
}

# About ten seconds for a new prefix.
zolbex11_wine_prefix_ready() {
    "$_zolbex11_wine_repo/cmake/wine-run.sh" cmd /c exit 0 >/dev/null
}

# None of the old wineserver is left behind serving a deleted folder.
zolbex11_wine_prefix_fresh() {
    zolbex11_wineserver_stop "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
    zolbex11_wine_keep_up
    zolbex11_wine_prefix_ready
}

zolbex11_wine_keep_up() {
    mkdir -p "$WINEPREFIX"
    wineserver -p
    zolbex11_at_exit "zolbex11_wineserver_stop '$WINEPREFIX'"
}

zolbex11_wine_scratch_prefix() {
    zolbex11_wine_use "$1/wineprefix"
    zolbex11_wineserver_stop "$WINEPREFIX"
    rm -rf "$1"
    zolbex11_wine_prefix_fresh
}
