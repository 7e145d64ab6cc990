#!/usr/bin/env bash
# Use without registration, as a program that carries the DLL does it: the tree's regfree/
# folder (programs with an application manifest, the DLL and its assembly manifest) copied into
# a fresh prefix where nothing of the library is registered; the client creates every creatable
# class and the C++ tour runs to its end from the copy.
#   regfree_test.sh BUILD_TREE WORK_DIR      (either tree)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
tree="$(realpath -m "$1")"
work="$(realpath -m "$2")"
fail() { echo "regfree_test.sh: $*" >&2; exit 1; }

# A fresh prefix of the test's own, its wineserver stopped when the test ends.
. "$repo/scripts/lib/wine.sh"
zolbex11_wine_scratch_prefix "$work"

cp -r "$tree/regfree" "$work/app"
. "$repo/scripts/lib/stand-ins.sh"
wine_run="$repo/cmake/wine-run.sh"
zolbex11_install_drive_stand_ins "$tree"

echo "== regfree_client.exe"
output="$("$wine_run" "$(zolbex11_winpath "$work/app/zolbex11_regfree_client.exe")")" || true
output="${output//$'\r'/}"
printf '%s\n' "$output"
[ "${output##*$'\n'}" = REGFREE-OK ] || fail "the client did not create every class without registration"

echo "== tour_cpp.exe without registration"
"$repo/tests/examples/run_example.sh" "$(zolbex11_winpath "$work/app/tour_cpp.exe")"

if "$wine_run" reg query 'HKLM\Software\Classes\ZOLBEX11.clsZolbex11RunTimeA' >/dev/null 2>&1; then
    fail "something registered the library"
fi
echo "regfree_test.sh: every class created and the tour run with nothing registered"
