#!/usr/bin/env bash
# The whole test suite: builds both trees, runs the x86_64 tree's CTest suite
# under the host's Wine, then the i686 tree's (the shipped 32-bit DLL) under
# wine32 inside the i386 chroot. Each prints its own CTest summary; the command
# fails when either fails. On a machine that cannot run 32-bit code at all, one
# line says so and the result is the x86_64 suite's.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZOLBEX11_BUILD_DIR="${ZOLBEX11_BUILD_DIR:-$repo/build}"
mkdir -p "$ZOLBEX11_BUILD_DIR"

bash "$repo/scripts/setup.sh"

# The 32-bit environment is made (or checked) while the trees build and the
# x86_64 suite runs; it needs only the network and a little CPU.
i386_log="$ZOLBEX11_BUILD_DIR/setup-i386.log"
bash "$repo/scripts/setup-i386.sh" >"$i386_log" 2>&1 &
i386_setup=$!

bash "$repo/scripts/build.sh"

status=0
bash "$repo/scripts/run-tree-tests.sh" x86_64 || status=$?

i386_status=0
wait "$i386_setup" || i386_status=$?
cat "$i386_log"
case "$i386_status" in
    0)
        # The i686 suite installs the win32 Windows Installer package; wixl runs here, on the host.
        if ! { bash "$repo/scripts/assemble-package.sh" "$ZOLBEX11_BUILD_DIR" "$ZOLBEX11_BUILD_DIR/msi-dist" win32 &&
               bash "$repo/scripts/assemble-msi.sh" "$ZOLBEX11_BUILD_DIR" "$ZOLBEX11_BUILD_DIR/msi-dist" win32; }; then
            echo "test.sh: the win32 package could not be made; its test in the i686 suite fails" >&2
        fi
        i686_status=0
        bash "$repo/scripts/i386-run.sh" /bin/bash "$repo/scripts/run-tree-tests.sh" i686 || i686_status=$?
        [ "$i686_status" -eq 0 ] || status=$i686_status ;;
    3)  ;;  # cannot run 32-bit code here: said in the log's one line
    *)
        echo "test.sh: the 32-bit environment could not be set up (above); failing" >&2
        [ "$status" -ne 0 ] || status=$i386_status ;;
esac
exit "$status"
