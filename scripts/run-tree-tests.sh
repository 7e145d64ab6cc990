#!/usr/bin/env bash
# Runs the CTest suite of one build tree in a fresh Wine prefix of its own:
#   run-tree-tests.sh x86_64   on the host, under its 64-bit Wine
#   run-tree-tests.sh i686     inside the i386 chroot (scripts/i386-run.sh), under
#                              wine32 in a win32 prefix
#   run-tree-tests.sh wow64    inside the WOW64 chroot (i386-run.sh --chroot wow64):
#                              the i686 tree's suite in a win64 prefix with both
#                              DLLs registered by their own regsvr32, its client
#                              scripts through the 32-bit (syswow64) cscript, and
#                              the side-by-side test (label wow64); the examples,
#                              which make prefixes of their own, run in the i686 run
# The prefix is $ZOLBEX11_BUILD_DIR/wineprefix-test (x86_64), wineprefix-test-i686
# or wineprefix-test-wow64; one wineserver serves the whole run and is stopped at
# the end. Exits with CTest's status.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
target="$1"

# A fresh prefix per run: tests change its registry and environment.
case "$target" in
    wow64)
        . "$repo/scripts/wow64-env.sh" test
        zolbex11_wow64_prefix_fresh
        tree=i686
        # Registered above by both regsvr32s, so the tree's own registration step is left out; the
        # win32 package test installs into a win32 prefix, and the examples, reference examples and
        # how-tos run in the examples' win32 prefix: the i686 run does those.
        selection=(-FS zolbex11_registered -E '^example|^reference_examples[.]|^howto[.]|^register_dll$|^msi_win32$')
        export ZOLBEX11_CSCRIPT="$(zolbex11_wow64_system 32)\cscript.exe" ;;
    *)
        . "$repo/scripts/target-env.sh" "$target" test
        . "$repo/scripts/wine-env.sh"
        zolbex11_wine_prefix_fresh
        tree="$target"
        selection=(-LE wow64) ;;
esac

echo "== $target suite ($ZOLBEX11_BUILD_DIR/$tree)"
cd "$ZOLBEX11_BUILD_DIR/$tree"
ctest --output-on-failure "${selection[@]}"
