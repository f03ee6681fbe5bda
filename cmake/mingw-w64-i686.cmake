# The shipped Windows program: 32-bit x86, runs on every Windows in use.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(UPDATER_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(UPDATER_WINE wine)
if(UPDATER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${UPDATER_WINE})
endif()
# SSE2 floating point, as the x86-64 build computes: x87 code keeps excess precision, so a
# percentage or a rounding could differ by one. Every Windows the program serves has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
