#!/usr/bin/env bash
# Installs the host's Debian packages the build and the tests need, only those
# missing. Needs root (or sudo) when something is missing. Never installs
# anything :i386 here: the 32-bit suite runs in a chroot of its own
# (scripts/setup-i386.sh), for which the host needs only debootstrap.
set -euo pipefail

packages=(
    g++-mingw-w64-i686-posix
    g++-mingw-w64-x86-64-posix
    mingw-w64-tools
    wine
    wine64
    libwine-dev
    clang
    wine64-tools
    googletest
    cmake
    debootstrap
    wixl
)

missing=()
for package in "${packages[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)"
    [ "$status" = installed ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup.sh: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup.sh: run as root to install ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
