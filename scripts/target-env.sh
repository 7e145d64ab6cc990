# Sourced, not run: the Wine prefix of one target and one purpose.
#   . scripts/target-env.sh TARGET PURPOSE     (TARGET x86_64 or i686, PURPOSE test, bench...)
# x86_64 uses $ZOLBEX11_BUILD_DIR/wineprefix-PURPOSE under the host's 64-bit Wine;
# i686 uses wineprefix-PURPOSE-i686, a win32 prefix for wine32 in the i386 chroot.
# Source scripts/wine-env.sh after this.
case "$1" in
    x86_64) export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-$2" ;;
    i686)
        export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-$2-i686"
        export WINEARCH=win32 ;;
    *) echo "target-env.sh: target x86_64 or i686, not '$1'" >&2; return 2 ;;
esac
