# 32-bit build: the shipped DLL, with the tests and benchmarks that run against it.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZOLBEX11_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# Programs of this tree run under wine32 inside the i386 chroot (scripts/i386-run.sh),
# in the win32 prefix named by WINEPREFIX; never on the host, whose Wine is 64-bit.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
