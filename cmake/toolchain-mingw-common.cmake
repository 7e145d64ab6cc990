# Shared part of the MinGW-w64 cross toolchains. The including file sets
# ZOLBEX11_MINGW_TRIPLE (x86_64-w64-mingw32 or i686-w64-mingw32) first.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix compilers give std::thread and friends; -static keeps every
# MinGW runtime DLL (libstdc++, libgcc, libwinpthread) out of the import table.
set(CMAKE_C_COMPILER   ${ZOLBEX11_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOLBEX11_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ZOLBEX11_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOLBEX11_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(_zolbex11_static_link "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${_zolbex11_static_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_zolbex11_static_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_zolbex11_static_link}")
