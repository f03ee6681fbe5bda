#!/usr/bin/env bash
# The Windows build and its tests. Cross-builds the two shipped programs from the same sources, in
# Release: x86-64 (build-windows64), whose tests run under 64-bit Wine, and 32-bit x86 (build-windows),
# which runs two end-to-end cases under 32-bit Wine through qemu, since this kernel runs no 32-bit code
# itself. Makes and checks both zips. As root (namespaces); called by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# A mount namespace of the script's own, for hiding 32-bit Wine (below).
if [ "${UPDATER_WINDOWS_MOUNTS:-}" != 1 ]; then UPDATER_WINDOWS_MOUNTS=1 exec unshare --mount "$0" "$@"; fi

if [ "${1:-}" = --emulated ]; then
  # In a user namespace of the run's own: its own binfmt_misc, which nothing outside sees, runs 32-bit
  # ELF files through qemu (the fix-binary flag: the emulator is opened here, once).
  mount -t binfmt_misc none /proc/sys/fs/binfmt_misc
  elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'  # 32-bit x86, little-endian
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'  # executables and PIEs
  printf '%s' ":qemu-i386:M::$elf:$mask:/usr/bin/qemu-i386-static:F" >/proc/sys/fs/binfmt_misc/register
  exec /usr/bin/python3 -W ignore::DeprecationWarning tests/e2e/test_updater.py build-windows/updater.exe \
    build-windows/tests/e2e/windows/{test_installer.exe,read_message_box.exe} -k shipped
fi

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
# Both zips: Release, stripped, static, each checked for its files, machine, imports and hardening.
for build in "build-windows i686" "build-windows64 x86_64"; do
  set -- $build
  cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$2.cmake" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
done
cmake --build build-windows -j "$(nproc)" --target updater test_installer read_message_box
cmake --build build-windows64 -j "$(nproc)"
for build in build-windows build-windows64; do (cd "$build" && cpack >/dev/null); done
tests/package/check_zip.sh build-windows/updater-1.0.19-win32.zip i686-w64-mingw32-objdump
tests/package/check_zip.sh build-windows64/updater-1.0.19-win64.zip x86_64-w64-mingw32-objdump

# The shipped 32-bit program's few end-to-end runs, with 32-bit Wine as Debian installs it.
unshare --user --map-root-user --mount "$0" --emulated

# Wine sets up its 32-bit half in every new prefix, which the x86-64 tests do not need and which,
# where the kernel runs 32-bit code only through an emulator, takes minutes: its loader is hidden.
if [ -e /usr/lib/wine/wine ]; then mount --bind /bin/false /usr/lib/wine/wine; fi
unshare --net "$0" --tests
