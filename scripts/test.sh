#!/usr/bin/env bash
# The whole test suite: builds both trees, runs the x86_64 tree's CTest suite
# under the host's Wine, then the i686 tree's (the shipped 32-bit DLL) under
# wine32 inside the i386 chroot, then the WOW64 suite (the i686 tree's again,
# under WOW64 in a 64-bit prefix with both DLLs registered side by side) inside
# the WOW64 chroot. Each prints its own CTest summary; the command fails when
# any fails. On a machine that cannot run 32-bit code at all, one line for each
# 32-bit suite says so and the result is the x86_64 suite's.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
mkdir -p "$ZOLBEX11_BUILD_DIR"
. "$repo/scripts/lib/targets.sh"

bash "$repo/scripts/setup.sh"

# The two 32-bit environments are made (or checked) while the trees build and the
# x86_64 suite runs; they need only the network and a little CPU.
i386_log="$ZOLBEX11_BUILD_DIR/setup-i386.log"
wow64_log="$ZOLBEX11_BUILD_DIR/setup-wow64.log"
bash "$repo/scripts/setup-i386.sh" i386 >"$i386_log" 2>&1 &
i386_setup=$!
bash "$repo/scripts/setup-i386.sh" wow64 >"$wow64_log" 2>&1 &
wow64_setup=$!

bash "$repo/scripts/build.sh"

status=0
bash "$repo/scripts/run-tree.sh" tests x86_64 || status=$?

# run_in_chroot SETUP_PID SETUP_LOG TARGET: once the chroot's set-up has ended (its log
# printed), the suite of TARGET in it, as far as this machine runs 32-bit code.
run_in_chroot() {
    local setup_status=0 suite_status=0
    wait "$1" || setup_status=$?
    cat "$2"
    zolbex11_if_32bit_runs test.sh "$setup_status" \
        bash "$repo/scripts/i386-run.sh" --chroot "$(zolbex11_target_chroot "$3")" \
             /bin/bash "$repo/scripts/run-tree.sh" tests "$3" || suite_status=$?
    [ "$status" -ne 0 ] || status=$suite_status
}
# The i686 suite installs the win32 Windows Installer package; wixl runs here, on the host.
if ! { bash "$repo/scripts/assemble-package.sh" "$ZOLBEX11_BUILD_DIR" "$ZOLBEX11_BUILD_DIR/msi-dist" win32 &&
       bash "$repo/scripts/assemble-msi.sh" "$ZOLBEX11_BUILD_DIR" "$ZOLBEX11_BUILD_DIR/msi-dist" win32; }; then
    echo "test.sh: the win32 package could not be made; its test in the i686 suite fails" >&2
fi

run_in_chroot "$i386_setup" "$i386_log" i686
run_in_chroot "$wow64_setup" "$wow64_log" wow64
exit "$status"
