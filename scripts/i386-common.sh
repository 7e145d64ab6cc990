# Sourced by the scripts of the 32-bit environment: where it lives and what the
# host's apt sources say about release and mirror.

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
