#!/usr/bin/env bash
# The shared shell helpers (scripts/lib): sourcing one makes no folder, starts no wineserver
# and leaves the caller's EXIT trap alone; zolbex11_at_exit runs the caller's trap and then
# each added command, even when the shell fails; the 32-bit policy runs, skips or fails as the
# set-up's status says. Ends with the line SCRIPT-HELPERS-OK when every check held.
#   check_script_helpers.sh SCRATCH_DIR
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scratch="$(realpath -m "$1")"
rm -rf "$scratch" && mkdir -p "$scratch"
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# Sourcing every helper in a shell with its own trap, its prefix pointing into the scratch folder.
for helper in "$repo"/scripts/lib/*.sh; do
    name="$(basename "$helper")"
    output="$(cd "$scratch" && ZOLBEX11_BUILD_DIR="$scratch/build" WINEPREFIX="$scratch/prefix" bash -c '
        set -euo pipefail
        trap "echo caller-trap" EXIT
        . "$0"
        trap -p EXIT' "$helper" 2>&1)"
    [ "$output" = "trap -- 'echo caller-trap' EXIT"$'\n'"caller-trap" ] ||
        fail "sourcing $name changed the caller's EXIT trap or printed something: $output"
    [ -z "$(ls -A "$scratch")" ] || fail "sourcing $name made $(ls -A "$scratch")"
    if WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null; then
        fail "sourcing $name started a wineserver"
    fi
done

# The caller's trap first, then the added commands in order, also after a failing command.
output="$(bash -c '
    set -euo pipefail
    . "$0"
    trap "echo caller" EXIT
    zolbex11_at_exit "echo first"
    zolbex11_at_exit "echo \"second, quoted\""
    false' "$repo/scripts/lib/exit.sh")"
status=$?
[ "$output" = $'caller\nfirst\nsecond, quoted' ] || fail "exit commands ran as: $output"
[ "$status" -eq 1 ] || fail "the shell's own exit status was lost: $status"

# zolbex11_if_32bit_runs CALLER STATUS ... for each set-up status: what runs, what is said, the result.
. "$repo/scripts/lib/targets.sh"
while IFS='|' read -r setup expected_output expected_status; do
    output="$(zolbex11_if_32bit_runs check "$setup" --otherwise skipped echo ran 2>&1)"
    status=$?
    [ "$output" = "$expected_output" ] && [ "$status" -eq "$expected_status" ] ||
        fail "set-up status $setup gave '$output' and $status"
done <<'CASES'
0|ran|0
3|skipped|0
1|check: the 32-bit environment could not be set up (above); failing|1
CASES

[ "$failures" -eq 0 ] && echo SCRIPT-HELPERS-OK
exit "$failures"
