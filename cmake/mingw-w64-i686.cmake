# The shipped Windows program: 32-bit x86, runs on every Windows in use.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(UPDATER_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(UPDATER_WINE wine)
if(UPDATER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${UPDATER_WINE})
endif()
