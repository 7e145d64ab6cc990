#!/usr/bin/env bash
# Runs one client script (VBScript or JScript) with cscript under Wine:
#   run_script.sh <script>
# Wine's cscript exits 0 and prints nothing when a script dies of an uncaught
# error, so a script passes only when its last output line is exactly SCRIPT-OK
# and no line starts with FAIL. Uses the prefix of the caller's environment
# (scripts/wine-env.sh); the library must be registered there.
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$repo/scripts/winpath.sh"

script="$1"
output="$("$repo/cmake/wine-run.sh" cscript //nologo "$(zolbex11_winpath "$script")")"
status=$?
output="${output//$'\r'/}"
printf '%s\n' "$output"

if [ "$status" -ne 0 ]; then
    echo "run_script.sh: cscript exited with status $status"
    exit 1
fi
if grep -q '^FAIL' <<<"$output"; then
    echo "run_script.sh: the script reported failures"
    exit 1
fi
if [ "${output##*$'\n'}" != "SCRIPT-OK" ]; then
    echo "run_script.sh: the script did not reach its end (no closing SCRIPT-OK line)"
    # cscript keeps the error to itself; the script engines' trace of a second
    # run shows the last calls before it stopped.
    echo "run_script.sh: last steps of a traced second run:"
    WINEDEBUG=-all,+vbscript,warn+jscript,fixme+wscript timeout 120 \
        "$repo/cmake/wine-run.sh" cscript //nologo "$(zolbex11_winpath "$script")" 2>&1 \
        | tr -d '\r' | grep -v -E '_(AddRef|Release) ' | tail -n 25
    exit 1
fi
