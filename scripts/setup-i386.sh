#!/usr/bin/env bash
# Makes a chroot that runs 32-bit Windows programs, or reuses it:
#   setup-i386.sh [i386]   the i686 suite's: an i386 Debian chroot (same release
#                          and mirror as this machine's apt sources) with the
#                          distribution's wine32, cmake and ctest;
#   setup-i386.sh wow64    the WOW64 suite's: an amd64 chroot with i386 multiarch
#                          holding wine64 and wine32, for 64-bit prefixes that
#                          run 32-bit programs as 64-bit Windows does.
# Both are entered by scripts/i386-run.sh. The host's own packages stay as they
# are: nothing :i386 is installed here.
#
# How 32-bit programs run is found out first, never assumed:
#   native  the kernel runs i386 programs itself (IA32 emulation);
#   qemu    it does not, but binfmt_misc can be used: a static qemu-i386 from
#           <release>-backports (bookworm's own 7.2 fails under wine) is
#           registered with the F flag, so it serves inside the chroot too.
# Where neither works (a gVisor sandbox, say) there is no 32-bit route at all.
#
# Exit status: 0 ready, 3 this machine cannot run 32-bit code (one line on
# stdout says why), anything else a set-up failure (said on stderr).
# The chroot lives in $ZOLBEX11_I386_ROOT (default /var/cache/zolbex11/i386-<release>)
# or $ZOLBEX11_WOW64_ROOT (default .../wow64-<release>), outside every clone, so
# later runs and other clones reuse it. A lock keeps two runs from building the
# same one at once.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$repo/scripts/lib/chroot.sh"
kind="${1:-i386}"
zolbex11_chroot "$kind"
# The i386 chroot's lock and logs keep the names they had before there were two.
suffix=; [ "$kind" = i386 ] || suffix="-$kind"

fail() { echo "setup-i386.sh: $*" >&2; exit 1; }
cannot_run() { echo "$zolbex11_chroot_label: not run: $*"; exit 3; }

[ "$(id -u)" -eq 0 ] || fail "the 32-bit environment needs root (chroot, mounts, binfmt_misc); run as root"

# --- can this machine run i386 programs? -----------------------------------
cache="$zolbex11_i386_cache"
mkdir -p "$cache"
probe="$cache/i386-probe"
zolbex11_write_i386_probe "$probe"

runs_i386() { "$probe" 2>/dev/null; [ $? -eq 42 ]; }

binfmt=/proc/sys/fs/binfmt_misc
binfmt_entry="$binfmt/zolbex11-i386"
qemu="$cache/qemu/qemu-i386"

# Fetches the backports' qemu-user and keeps only its static qemu-i386. A private
# apt state keeps the host's package lists and sources untouched.
fetch_qemu() {
    local work="$cache/qemu-apt" release mirror
    release="$(zolbex11_host_release)"
    mirror="$(zolbex11_host_mirror)"
    rm -rf "$work"
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/deb" "$cache/qemu"
    echo "deb $mirror $release-backports main" >"$work/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
                -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
                -o APT::Sandbox::User=root)
    echo "setup-i386.sh: fetching qemu-i386 from $release-backports"
    apt-get "${opts[@]}" update >"$work/update.log" 2>&1 ||
        fail "apt-get update of $release-backports failed (see $work/update.log)"
    (cd "$work/deb" && apt-get "${opts[@]}" download qemu-user >"$work/download.log" 2>&1) ||
        fail "no qemu-user in $release-backports (see $work/download.log)"
    dpkg-deb -x "$work"/deb/qemu-user_*.deb "$work/extract"
    install -m 0755 "$work/extract/usr/bin/qemu-i386" "$qemu"
    rm -rf "$work"
}

qemu_is_new_enough() {
    local major
    major="$("$qemu" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')"
    [ -n "$major" ] && [ "$major" -ge 8 ]
}

# A qemu registration (ours from an earlier run, or another) makes the probe run
# without telling how; only a probe that runs with none is native.
qemu_registered() {
    local entry
    for entry in "$binfmt"/*; do
        [ -f "$entry" ] && grep -q '^enabled' "$entry" 2>/dev/null &&
            grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null && return 0
    done
    return 1
}

# One set-up at a time fetches and registers qemu (the two chroots' set-ups run at once).
exec 8>"$cache/route.lock"
flock 8
route=
if runs_i386 && ! qemu_registered; then
    route=native
else
    if [ ! -e "$binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
    fi
    if [ ! -w "$binfmt/register" ]; then
        cannot_run "the kernel runs no i386 programs and binfmt_misc cannot be used here (a sandbox such as gVisor); run the suite on a machine with IA32 emulation or binfmt_misc"
    fi
    if [ ! -x "$qemu" ] || ! qemu_is_new_enough; then
        fetch_qemu
        qemu_is_new_enough || fail "$qemu is older than 8, which fails under wine"
    fi
    # The F flag opens the interpreter now, so chrooted programs find it too.
    if [ ! -e "$binfmt_entry" ]; then
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":zolbex11-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register" ||
            cannot_run "binfmt_misc refused the qemu-i386 registration"
    fi
    runs_i386 || cannot_run "i386 programs do not run even through qemu-i386 ($qemu)"
    route=qemu
fi
flock -u 8

# --- the chroot --------------------------------------------------------------
root="$zolbex11_chroot_root"
read -r -a packages <<<"$zolbex11_chroot_packages"
marker="$root/.zolbex11-ready"
base_marker="$root/.zolbex11-base"
wanted="packages: ${packages[*]}"

# Two stages, each with its marker, so a run that was stopped part way resumes
# at the stage it had not finished.
build_chroot() {
    local release mirror security
    release="$(zolbex11_host_release)"
    mirror="$(zolbex11_host_mirror)"
    security="$(zolbex11_host_security_mirror)"
    command -v debootstrap >/dev/null || fail "debootstrap is missing (scripts/setup.sh installs it)"
    if [ ! -f "$base_marker" ]; then
        echo "setup-i386.sh: building the $zolbex11_chroot_arch $release chroot in $root (route: $route; several minutes)"
        rm -rf "$root"
        mkdir -p "$root"
        debootstrap --arch="$zolbex11_chroot_arch" --variant=minbase "$release" "$root" "$mirror" \
            >"$cache/debootstrap$suffix.log" 2>&1 ||
            fail "debootstrap of $zolbex11_chroot_arch $release from $mirror failed (see $cache/debootstrap$suffix.log)"
        touch "$base_marker"
    fi
    if [ -n "$zolbex11_chroot_foreign" ]; then
        bash "$repo/scripts/i386-run.sh" --chroot "$kind" --root-only \
            dpkg --add-architecture "$zolbex11_chroot_foreign" ||
            fail "the chroot refused the $zolbex11_chroot_foreign architecture"
    fi
    {
        echo "deb $mirror $release main"
        echo "deb $mirror $release-updates main"
        if [ -n "$security" ]; then echo "deb $security $release-security main"; fi
    } >"$root/etc/apt/sources.list"
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    echo "setup-i386.sh: installing ${packages[*]} in the chroot"
    bash "$repo/scripts/i386-run.sh" --chroot "$kind" --root-only /bin/sh -c "
        export DEBIAN_FRONTEND=noninteractive
        apt-get update && apt-get install -y --no-install-recommends ${packages[*]} && apt-get clean" \
        >"$cache/chroot-install$suffix.log" 2>&1 ||
        fail "installing ${packages[*]} in the chroot failed (see $cache/chroot-install$suffix.log)"
    echo "$wanted" >"$marker"
}

exec 9>"$cache/setup$suffix.lock"
flock 9
if [ "$(cat "$marker" 2>/dev/null)" != "$wanted" ]; then
    build_chroot
fi
echo "setup-i386.sh: $kind environment ready ($route, $root)"
