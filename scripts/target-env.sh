# Sourced, not run: the Wine prefix of one target and one purpose.
#   . scripts/target-env.sh TARGET PURPOSE     (TARGET x86_64, i686 or wow64, PURPOSE test, bench...)
# x86_64 uses $ZOLBEX11_BUILD_DIR/wineprefix-PURPOSE under the host's 64-bit Wine;
# i686 uses wineprefix-PURPOSE-i686, a win32 prefix for wine32 in the i386 chroot;
# wow64 uses wineprefix-PURPOSE-wow64, a win64 prefix with 32-bit support (wine64
# and wine32) in the WOW64 chroot.
# Source scripts/wine-env.sh after this.
case "$1" in
    x86_64) export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-$2" ;;
    i686)
        export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-$2-i686"
        export WINEARCH=win32 ;;
    wow64)
        export ZOLBEX11_WINEPREFIX="$ZOLBEX11_BUILD_DIR/wineprefix-$2-wow64"
        export WINEARCH=win64
        # Tells the i686 tree's tests that its 32-bit process runs under WOW64 on purpose.
        export ZOLBEX11_WOW64=1 ;;
    *) echo "target-env.sh: target x86_64, i686 or wow64, not '$1'" >&2; return 2 ;;
esac
