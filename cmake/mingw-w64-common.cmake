# Shared part of the two mingw-w64 toolchains: a Windows program cross-built on Debian, linked
# statically so that it needs no runtime DLLs beside it. The including file sets UPDATER_MINGW_TRIPLE
# before including this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${UPDATER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UPDATER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${UPDATER_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${UPDATER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
