# Sourced: the two sides of a WOW64 prefix, for a caller inside the WOW64 chroot. Sourcing
# defines functions only:
#   zolbex11_wow64_dll BITS               the Windows path of the DLL of BITS (32 or 64);
#   zolbex11_wow64_system BITS            the system folder of BITS;
#   zolbex11_wow64_loader BITS            the Wine loader of BITS;
#   zolbex11_wow64_regsvr32 BITS ARG...   runs the regsvr32 of BITS;
#   zolbex11_wow64_cscript BITS ARG...    runs the cscript of BITS;
#   zolbex11_wow64_program BITS PROGRAM ARG...  the system program of BITS;
#   zolbex11_wow64_prefix_fresh           a new prefix in WINEPREFIX (zolbex11_target_use
#                                         wow64 PURPOSE) with both DLLs registered
#                                         machine-wide, each by its own regsvr32.
# Both build trees must have been built.

_zolbex11_wow64_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$_zolbex11_wow64_repo/scripts/lib/wine.sh"

zolbex11_wow64_dll() {
    local tree
    case "$1" in
        32) tree=i686 ;;
        64) tree=x86_64 ;;
        *) echo "wow64.sh: 32 or 64, not '$1'" >&2; return 2 ;;
    esac
    zolbex11_winpath "${ZOLBEX11_BUILD_DIR:-$_zolbex11_wow64_repo/build}/$tree/zolbex11.dll"
}

# The system folder of a pointer size: 32-bit programs live in syswow64.
zolbex11_wow64_system() {
    case "$1" in
        32) echo 'C:\windows\syswow64' ;;
        64) echo 'C:\windows\system32' ;;
        *) echo "wow64.sh: 32 or 64, not '$1'" >&2; return 2 ;;
    esac
}

# Debian's `wine` starts every program with the 32-bit loader when wine32 is
# installed; a 32-bit process sees syswow64 where it asks for system32, so the
# 64-bit programs are started by the 64-bit loader itself.
zolbex11_wow64_loader() {
    case "$1" in
        32) echo wine ;;
        64) echo /usr/lib/wine/wine64 ;;
        *) echo "wow64.sh: 32 or 64, not '$1'" >&2; return 2 ;;
    esac
}

# zolbex11_wow64_program BITS PROGRAM ARG...: the system program of BITS.
zolbex11_wow64_program() {
    local system loader
    system="$(zolbex11_wow64_system "$1")" && loader="$(zolbex11_wow64_loader "$1")" || return
    ZOLBEX11_WINE="$loader" "$_zolbex11_wow64_repo/cmake/wine-run.sh" "$system\\$2" "${@:3}"
}

zolbex11_wow64_regsvr32() { zolbex11_wow64_program "$1" regsvr32.exe "${@:2}"; }
zolbex11_wow64_cscript() { zolbex11_wow64_program "$1" cscript.exe "${@:2}"; }

zolbex11_wow64_prefix_fresh() {
    zolbex11_wine_prefix_fresh
    zolbex11_wow64_regsvr32 64 /s "$(zolbex11_wow64_dll 64)" &&
        zolbex11_wow64_regsvr32 32 /s "$(zolbex11_wow64_dll 32)"
}
