#!/usr/bin/env bash
# Runs a command inside a chroot made by scripts/setup-i386.sh:
#   i386-run.sh [--chroot i386|wow64] [--root-only] COMMAND [ARG...]
# (the i386 one unless --chroot says otherwise).
# The mounts (/proc, /sys, /dev, and the repository and build folder at their
# own paths, so the build trees' absolute paths hold inside) are made in a
# private mount namespace and vanish with the command: nothing leaks onto the
# host. --root-only enters the bare chroot (used while it is being set up).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$repo/scripts/lib/chroot.sh"

kind=i386
if [ "${1:-}" = --chroot ]; then
    kind="$2"
    shift 2
fi
zolbex11_chroot "$kind"

binds=()
if [ "${1:-}" = --root-only ]; then
    shift
else
    build="${ZOLBEX11_BUILD_DIR:-$repo/build}"
    mkdir -p "$build"
    binds=("$repo" "$(cd "$build" && pwd)")
fi
root="$zolbex11_chroot_root"
[ -x "$root/bin/sh" ] || { echo "i386-run.sh: no chroot in $root; run scripts/setup-i386.sh $kind" >&2; exit 1; }

export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root

# Run in the new mount namespace: mount, bind, then enter the chroot in the
# caller's folder where it is bound (else in /).
inside='
    set -e
    root="$1" cwd="$2" count="$3"; shift 3
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
    while [ "$count" -gt 0 ]; do
        mkdir -p "$root$1"
        mount --bind "$1" "$root$1"
        shift; count=$((count - 1))
    done
    exec chroot "$root" /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$cwd" "$@"
'
exec unshare --mount --propagation private /bin/bash -c "$inside" i386-run \
    "$root" "$PWD" "${#binds[@]}" "${binds[@]}" "$@"
