# The same Windows program built for x86-64. Its tests run under 64-bit Wine on machines whose kernel
# refuses 32-bit user code, where 32-bit Wine cannot start.
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(UPDATER_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(UPDATER_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(UPDATER_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${UPDATER_WINE64})
endif()
