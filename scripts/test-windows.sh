#!/usr/bin/env bash
# Builds the Windows program, the shipped 32-bit build-windows/updater.exe and the x86-64 one, and
# runs the Windows tests under 64-bit Wine: the logic's unit tests, the Windows layer against Wine's
# services, and the whole program end to end. As root (namespaces); called by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# A mount namespace of the script's own, for hiding 32-bit Wine (below).
if [ "${UPDATER_WINDOWS_MOUNTS:-}" != 1 ]; then UPDATER_WINDOWS_MOUNTS=1 exec unshare --mount "$0" "$@"; fi

scripts/install-packages.sh windows
jobs=$(nproc)

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DBUILD_TESTING=OFF
cmake --build build-windows -j "$jobs" --target updater
# Shipped on its own: it may import Windows' own DLLs only, no compiler runtime.
if i686-w64-mingw32-objdump -p build-windows/updater.exe | grep -iE "DLL Name: .*(libstdc|libgcc|pthread)"; then
  echo "build-windows/updater.exe needs runtime DLLs" >&2
  exit 1
fi

# The tests run the x86-64 build under 64-bit Wine. Wine sets up its 32-bit half in every new
# prefix, which the tests do not need and which, where the kernel runs 32-bit code only through an
# emulator, takes minutes: its loader is hidden here.
if [ -e /usr/lib/wine/wine ]; then mount --bind /bin/false /usr/lib/wine/wine; fi
cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=ON
cmake --build build-windows64 -j "$jobs"

export WINEPREFIX=$PWD/build-windows64/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot --init >build-windows64/wine.log 2>&1
# Each test starts its own Wine server: a network test's server must live in that test's network namespace.
/usr/lib/wine/wineserver --wait
ctest --test-dir build-windows64 --output-on-failure --timeout 900
