#!/usr/bin/env bash
# Runs the CTest suite or the benchmarks of one target in a fresh Wine prefix of its own:
#   run-tree.sh tests|bench x86_64   on the host, under its 64-bit Wine
#   run-tree.sh tests|bench i686     inside the i386 chroot (scripts/i386-run.sh), under
#                                    wine32 in a win32 prefix
#   run-tree.sh tests wow64          inside the WOW64 chroot (i386-run.sh --chroot wow64):
#                                    the i686 tree's suite in a win64 prefix with both DLLs
#                                    registered by their own regsvr32, its client scripts
#                                    through the 32-bit (syswow64) cscript, and the
#                                    side-by-side test (label wow64); the examples, which make
#                                    a prefix of their own, and the pages' scripts run in it,
#                                    run in the i686 run
# The prefix is $ZOLBEX11_BUILD_DIR/wineprefix-test or -bench, with -i686 or -wow64 after it
# (scripts/lib/targets.sh); one wineserver serves the whole run and is stopped at the end.
# Tests exit with CTest's status. Benchmarks run with the tree's DLL registered, each report
# headed by the target, and end with the table of every ratio the programs measured.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
. "$repo/scripts/lib/targets.sh"
what="$1" target="$2"
tree="$(zolbex11_target_tree "$target")"

# Benchmarks run on one CPU, and so does the wineserver they start. Under Wine every registry
# call is a round trip to the wineserver, and waking a server that waits on another CPU costs
# more than the call and swings with whatever else the machine does: measured on two CPUs, a
# read cost 10-15 us on one and 80-180 us across both, and a ratio moved by half between runs.
# Tests are left on every CPU, where their threads can race.
pin_to_one_cpu() {
    local affinity first
    if affinity="$(taskset -pc $$ 2>/dev/null)"; then
        affinity="${affinity##*: }"
        first="${affinity%%[,-]*}"
        if taskset -pc "$first" $$ >/dev/null 2>&1; then
            echo "== [$target] benchmarks on CPU $first (of $affinity)"
            return
        fi
    fi
    echo "== [$target] benchmarks NOT pinned to one CPU (taskset missing or refused): ratios may swing between runs"
}
if [ "$what" = bench ]; then pin_to_one_cpu; fi

# A fresh prefix per run: tests change its registry and environment.
zolbex11_target_use "$target" "${what%s}" || exit
case "$target" in
    wow64)
        . "$repo/scripts/lib/wow64.sh"
        zolbex11_wow64_prefix_fresh ;;
    *)
        zolbex11_wine_prefix_fresh
        [ "$what" = tests ] || wine regsvr32 /s "$(zolbex11_winpath "$ZOLBEX11_BUILD_DIR/$tree/zolbex11.dll")" ;;
esac

run_tests() {
    local selection=(-LE wow64)
    if [ "$target" = wow64 ]; then
        # Registered above by both regsvr32s, so the tree's own registration step is left out;
        # the win32 package test installs into a win32 prefix (the i686 run does it), and the
        # reference's and how-to pages' scripts run in the examples' prefix (win32, made by the
        # examples' set-up, which the i686 run does).
        selection=(-FS zolbex11_registered -E '^example|^reference_examples\.|^howto\.|^register_dll$|^msi_win32$')
        export ZOLBEX11_CSCRIPT="$(zolbex11_wow64_system 32)\cscript.exe"
    fi
    echo "== $target suite ($ZOLBEX11_BUILD_DIR/$tree)"
    cd "$ZOLBEX11_BUILD_DIR/$tree"
    ctest --output-on-failure "${selection[@]}"
}

# Every program's ratio lines (bench_support.h writes them with a leading "ratio|") are kept
# for the one table at the end.
run_bench() {
    local program ratios=() line
    for program in "$ZOLBEX11_BUILD_DIR/$tree"/bench/*_bench.exe; do
        echo "== [$target] $(basename "$program" .exe)"
        while IFS= read -r line; do
            line="${line%$'\r'}"
            case "$line" in
                ratio\|*) ratios+=("${line#ratio|}") ;;
                *) printf '%s\n' "$line" ;;
            esac
        done < <(wine "$program")
    done
    echo
    echo "== [$target] ratios: median of interleaved rounds, with the middle half of the rounds"
    printf '%-58s %9s  %-17s %s\n' "ratio" "median" "middle half" "rounds"
    for line in "${ratios[@]}"; do
        IFS='|' read -r name median low high rounds <<<"$line"
        printf '%-58s %8sx  %-17s %s\n' "$name" "$median" "$low .. $high" "$rounds"
    done
}

case "$what" in
    tests) run_tests ;;
    bench) run_bench ;;
    *) echo "run-tree.sh: tests or bench, not '$what'" >&2; exit 2 ;;
esac
