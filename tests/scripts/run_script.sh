#!/usr/bin/env bash
# Runs one client script (VBScript or JScript) with cscript under Wine:
#   run_script.sh [--plain] <script>
# (--plain: a VBScript runs as it is, without include/check.vbs, as a user's script would)
# Wine's cscript exits 0 and prints nothing when a script dies of an uncaught
# error, so a script passes only when its last output line is exactly SCRIPT-OK
# and no line starts with FAIL. Uses the prefix of the caller's environment
# (scripts/lib/wine.sh); the library must be registered there. ZOLBEX11_CSCRIPT
# names another cscript (the 32-bit one of a WOW64 prefix, say).
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$repo/scripts/lib/wine.sh"

plain=false
if [ "$1" = --plain ]; then
    plain=true
    shift
fi
script="$1"
run="$script"
# VBScript has no include: a VBScript test runs as include/check.vbs (Option Explicit and the
# Check helper) followed by the test, from a copy in the temporary folder.
shared="$repo/tests/scripts/include/check.vbs"
if [ "${script##*.}" = vbs ] && ! $plain; then
    run="$(mktemp --tmpdir --suffix="-$(basename "$script")" zolbex11-script.XXXXXX)"
    trap 'rm -f "$run"' EXIT
    cat "$shared" "$script" > "$run"
fi
cscript="${ZOLBEX11_CSCRIPT:-cscript}"
output="$("$repo/cmake/wine-run.sh" "$cscript" //nologo "$(zolbex11_winpath "$run")")"
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
    if [ "$run" != "$script" ]; then
        echo "run_script.sh: line numbers count the $(wc -l < "$shared") lines of include/check.vbs first"
    fi
    # cscript keeps the error to itself; the script engines' trace of a second
    # run shows the last calls before it stopped.
    echo "run_script.sh: last steps of a traced second run:"
    WINEDEBUG=-all,+vbscript,warn+jscript,fixme+wscript timeout 120 \
        "$repo/cmake/wine-run.sh" "$cscript" //nologo "$(zolbex11_winpath "$run")" 2>&1 \
        | tr -d '\r' | grep -v -E '_(AddRef|Release) ' | tail -n 25
    exit 1
fi
