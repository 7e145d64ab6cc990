# Sourced: what differs between the three targets a suite or a benchmark runs for, and where
# each runs. Sourcing defines functions only.
#   zolbex11_target_use TARGET PURPOSE   puts the shell in the target's prefix for PURPOSE
#                                        (test, bench, capture...) under $ZOLBEX11_BUILD_DIR:
#       x86_64  wineprefix-PURPOSE        the host's 64-bit Wine
#       i686    wineprefix-PURPOSE-i686   a win32 prefix for wine32 in the i386 chroot
#       wow64   wineprefix-PURPOSE-wow64  a win64 prefix with 32-bit support (wine64 and
#                                         wine32) in the WOW64 chroot
#   zolbex11_target_tree TARGET          the build tree the target runs (wow64 runs i686's)
#   zolbex11_target_chroot TARGET        the chroot it runs in (i386, wow64), or nothing: the host
#   zolbex11_if_32bit_runs CALLER SETUP_STATUS [--otherwise LINE] COMMAND...
#       what the status of scripts/setup-i386.sh means: 0 runs COMMAND and returns its status;
#       3 (this machine cannot run 32-bit code, which the set-up's one line said) runs nothing,
#       prints LINE if given and returns 0; anything else says the set-up failed and returns it.

_zolbex11_targets_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$_zolbex11_targets_repo/scripts/lib/wine.sh"

zolbex11_target_use() {
    local prefix="$ZOLBEX11_BUILD_DIR/wineprefix-$2"
    case "$1" in
        x86_64) zolbex11_wine_use "$prefix" ;;
        i686)
            zolbex11_wine_use "$prefix-i686"
            export WINEARCH=win32 ;;
        wow64)
            zolbex11_wine_use "$prefix-wow64"
            export WINEARCH=win64
            # Tells the i686 tree's tests that its 32-bit process runs under WOW64 on purpose.
            export ZOLBEX11_WOW64=1 ;;
        *) echo "targets.sh: target x86_64, i686 or wow64, not '$1'" >&2; return 2 ;;
    esac
}

zolbex11_target_tree() {
    case "$1" in
        wow64) echo i686 ;;
        *) echo "$1" ;;
    esac
}

zolbex11_target_chroot() {
    case "$1" in
        i686) echo i386 ;;
        wow64) echo wow64 ;;
    esac
}

zolbex11_if_32bit_runs() {
    local caller="$1" status="$2" otherwise=
    shift 2
    if [ "${1:-}" = --otherwise ]; then
        otherwise="$2"
        shift 2
    fi
    case "$status" in
        0) "$@" ;;
        3) [ -z "$otherwise" ] || echo "$otherwise" ;;
        *) echo "$caller: the 32-bit environment could not be set up (above); failing" >&2
           return "$status" ;;
    esac
}
