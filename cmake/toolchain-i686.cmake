# 32-bit build: the shipped DLL. Nothing of this tree is run; it is checked statically.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZOLBEX11_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
