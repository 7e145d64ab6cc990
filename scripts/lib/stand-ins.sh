# Sourced: zolbex11_install_drive_stand_ins X86_64_BUILD_DIR
# Puts the test tree's stand-ins for subst.exe and label.exe (built from tests/tools) into the
# system folder of the prefix in WINEPREFIX, since Wine's subst.exe is a stub and it has no
# label.exe, and tells Wine to run the stand-in subst.exe instead of its built-in one. The
# stand-ins record each run in the file named by ZOLBEX11_TOOL_LOG, when it is set.
_zolbex11_stand_in_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

zolbex11_install_drive_stand_ins() {
    local tools="$1/tests" system="$WINEPREFIX/drive_c/windows/system32" tool
    for tool in subst label; do
        cp "$tools/stand_in_$tool.exe" "$system/$tool.exe"
    done
    "$_zolbex11_stand_in_repo/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\DllOverrides' \
        /v subst.exe /d native /f >/dev/null
}
