# 64-bit build: the tree where the type-library generator runs, with the tests and
# benchmarks run under the host's Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZOLBEX11_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# Programs of this tree run under Wine, in the prefix named by WINEPREFIX.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
