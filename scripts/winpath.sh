# Sourced: zolbex11_winpath PATH prints the Windows form of a Linux path.
# Wine maps the Linux root to drive Z:, so no (slow) winepath call is needed.
zolbex11_winpath() {
    local path
    path="$(realpath -m -- "$1")"
    printf 'Z:%s\n' "${path//\//\\}"
}
