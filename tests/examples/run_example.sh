#!/usr/bin/env bash
# Runs one example under Wine in the prefix of WINEPREFIX and passes when its last line of output
# is "End of the tour." and no line starts with FAIL (Wine's cscript exits 0 and prints nothing
# more when a script stops on an error).
#   run_example.sh PROGRAM [ARGUMENTS...]
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
output="$("$repo/cmake/wine-run.sh" "$@")"
status=$?
output="${output//$'\r'/}"
printf '%s\n' "$output"

if [ "$status" -ne 0 ]; then
    echo "run_example.sh: the example exited with status $status"
    exit 1
fi
if grep -q '^FAIL' <<<"$output"; then
    echo "run_example.sh: the example reported a failure"
    exit 1
fi
if [ "${output##*$'\n'}" != "End of the tour." ]; then
    echo "run_example.sh: the example stopped before its end (a script error?)"
    exit 1
fi
