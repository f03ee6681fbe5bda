#!/usr/bin/env bash
# The Windows build and its tests. Cross-builds the shipped 32-bit program (build-windows), then the
# same sources for x86-64 (build-windows64), whose tests run under 64-bit Wine: machines whose kernel
# runs no 32-bit code cannot start 32-bit Wine. As root (namespaces); called by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# A mount namespace of the script's own, for hiding 32-bit Wine (below).
if [ "${UPDATER_WINDOWS_MOUNTS:-}" != 1 ]; then UPDATER_WINDOWS_MOUNTS=1 exec unshare --mount "$0" "$@"; fi

# A Wine prefix of the tests' own, kept between runs, in a fixed locale (ANSI code page 1252); no
# prompts for Wine's .NET and HTML engines.
export WINEPREFIX="$PWD/build-windows64/wine-prefix" WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=/usr/lib/wine/wineserver64

if [ "${1:-}" = --tests ]; then
  # In a network namespace of the tests' own. Wine opens its sockets in the wineserver, so the
  # wineserver runs here too. One wineserver serves every test, and Wine's helper processes are
  # started once, detached from CTest's output, which CTest would otherwise wait on for ever.
  ip link set lo up
  "$wineserver" -k 2>/dev/null || true
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p >build-windows64/wineserver.log 2>&1
  trap '"$wineserver" -k' EXIT
  /usr/lib/wine/wine64 cmd /c exit >build-windows64/wine-start.log 2>&1 </dev/null
  ctest --test-dir build-windows64 --output-on-failure --timeout 300
  exit
fi

scripts/install-packages.sh windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DBUILD_TESTING=OFF
cmake --build build-windows -j "$(nproc)"
# Shipped on its own: it may import Windows' own DLLs only, no compiler runtime.
if i686-w64-mingw32-objdump -p build-windows/updater.exe | grep -iE "DLL Name: .*(libstdc|libgcc|pthread)"; then
  echo "build-windows/updater.exe needs runtime DLLs" >&2
  exit 1
fi
cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=ON
cmake --build build-windows64 -j "$(nproc)"

# Wine sets up its 32-bit half in every new prefix, which the x86-64 tests do not need and which,
# where the kernel runs 32-bit code only through an emulator, takes minutes: its loader is hidden.
if [ -e /usr/lib/wine/wine ]; then mount --bind /bin/false /usr/lib/wine/wine; fi
unshare --net "$0" --tests
