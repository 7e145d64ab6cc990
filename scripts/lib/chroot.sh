# Sourced by the scripts of the 32-bit environments (setup-i386.sh, i386-run.sh): where they
# live and what the host's apt sources say about release and mirror. Sourcing defines functions
# and the two paths below; it makes nothing.

zolbex11_host_release() {
    (. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
}

# The first Debian archive named in the host's apt sources (deb822 or one-line form).
_zolbex11_host_uri() {
    local suffix="$1"
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
        sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]\{1,\}\)\{0,1\}\([^[:space:]]*\).*/\2/p' |
        tr ' ' '\n' | grep -E "/debian${suffix}/?\$" | head -n 1 | sed 's:/$::' || true
}

zolbex11_host_mirror() {
    local uri
    uri="$(_zolbex11_host_uri '')"
    echo "${uri:-http://deb.debian.org/debian}"
}

zolbex11_host_security_mirror() {
    _zolbex11_host_uri '-security'
}

zolbex11_i386_cache="${ZOLBEX11_I386_CACHE:-/var/cache/zolbex11}"
zolbex11_i386_root="${ZOLBEX11_I386_ROOT:-$zolbex11_i386_cache/i386-$(zolbex11_host_release)}"

# The two chroots that run 32-bit Windows programs:
#   i386   an i386 system with wine32: a win32 prefix, a 32-bit Windows;
#   wow64  an amd64 system with i386 multiarch, wine64 and wine32: a win64 prefix
#          with 32-bit support, where a 32-bit program runs as on 64-bit Windows.
# zolbex11_chroot KIND sets what differs: zolbex11_chroot_root, _arch (debootstrap's),
# _foreign (a multiarch architecture added, or empty), _packages and _label (what
# the one-line messages call the suite).
zolbex11_chroot() {
    case "$1" in
        i386)
            zolbex11_chroot_root="$zolbex11_i386_root"
            zolbex11_chroot_arch=i386
            zolbex11_chroot_foreign=
            zolbex11_chroot_packages="wine wine32 cmake"
            zolbex11_chroot_label="i686 suite" ;;
        wow64)
            zolbex11_chroot_root="${ZOLBEX11_WOW64_ROOT:-$zolbex11_i386_cache/wow64-$(zolbex11_host_release)}"
            zolbex11_chroot_arch=amd64
            zolbex11_chroot_foreign=i386
            zolbex11_chroot_packages="wine wine64 wine32:i386 cmake"
            zolbex11_chroot_label="WOW64 suite" ;;
        *) echo "chroot.sh: chroot i386 or wow64, not '$1'" >&2; return 2 ;;
    esac
}

# Writes a 96-byte i386 ELF program that only exits with status 42: the test of
# whether this machine runs 32-bit code, before anything is built.
zolbex11_write_i386_probe() {
    printf '%b' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
        '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
        '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
        '\x00\x00\x00\x00' \
        '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
        '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
        '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$1"
    chmod +x "$1"
}
