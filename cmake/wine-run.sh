#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix named by WINEPREFIX, creating
# the prefix on first use. Used as the x86_64 tree's cross-compiling emulator
# and for the build-time type-library generator. Never falls back to ~/.wine.
set -euo pipefail

if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run.sh: WINEPREFIX is not set (zolbex11_wine_use of scripts/lib/wine.sh sets it)" >&2
    exit 2
fi
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/wine.sh"
zolbex11_wine_defaults

# The registry files appear only when the wineserver saves them, so the prefix
# gets a marker of its own once wineboot has finished.
ready_marker="$WINEPREFIX/.zolbex11-prefix-ready"
if [ ! -f "$ready_marker" ]; then
    mkdir -p "$WINEPREFIX"
    # Parallel first runs must not both initialise the prefix.
    (
        flock 9
        if [ ! -f "$ready_marker" ]; then
            # A wineserver left over from an interrupted run can refuse the first
            # attempt; a second one starts from a server of its own.
            if ! wineboot -i >/dev/null 2>&1; then
                zolbex11_wineserver_stop "$WINEPREFIX"
                if ! wineboot -i >/dev/null 2>&1; then
                    echo "wine-run.sh: wineboot could not set up $WINEPREFIX" >&2
                    exit 1
                fi
            fi
            touch "$ready_marker"
        fi
    ) 9>"$WINEPREFIX/.zolbex11-prefix-lock"
fi

exec "${ZOLBEX11_WINE:-wine}" "$@"
