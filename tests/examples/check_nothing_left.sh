#!/usr/bin/env bash
# After the tours: nothing they wrote is left in the prefix of WINEPREFIX (keys, the user's
# variables, the settings-store records, file types).
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
wine_run="$repo/cmake/wine-run.sh"
left=0
present() { "$wine_run" reg query "$@" >/dev/null 2>&1; }
for key in 'HKCU\Software\ZOLBEX11 Tour' 'HKCR\.tournote' 'HKCR\.tournotejs' 'HKCR\ZOLBEX11Tour.Note' \
           'HKCR\ZOLBEX11TourJS.Note' 'HKCU\Software\VB and VBA Program Settings\Halvern'; do
    if present "$key"; then
        echo "FAIL left behind: $key"
        left=1
    fi
done
for name in TOUR_USER_HOME TOUR_USER_TOOLS; do
    if present 'HKCU\Environment' /v "$name"; then
        echo "FAIL left behind: the user variable $name"
        left=1
    fi
done
[ "$left" -eq 0 ] && echo "Nothing left behind by the tours."
exit "$left"
