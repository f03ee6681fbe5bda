#!/usr/bin/env bash
# Installs the Debian packages that building, testing or the demo need.
#   install-packages.sh build|test|demo|bench|package|windows
set -euo pipefail

build=(cmake make g++ pkg-config libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev)
# The Windows build: mingw-w64 for both targets; the x86-64 program's tests run under 64-bit Wine, the
# 32-bit one's under Debian's 32-bit Wine (i386 packages) through qemu.
windows=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine64 iproute2 util-linux python3-pyftpdlib openssl
  nginx-light tinyproxy)
windows+=(wine32:i386 qemu-user-static)
# ... and the Windows program end to end on a throw-away desktop.
windows+=(xvfb trayer xdotool x11-utils dbus-daemon python3-gi imagemagick)
run=(xvfb trayer xdotool x11-utils xclip dbus-daemon python3-gi iproute2 util-linux python3-pyftpdlib fonts-dejavu-core
  nginx-light tinyproxy openssl)
# Fonts for every script of the texts (Japanese, Chinese, Korean; Arabic, Hebrew, Thai and the rest), for
# the desktops the tests and the demo show them on.
fonts=(fonts-noto-cjk fonts-noto-core)
case "${1:-build}" in
  build) packages=("${build[@]}") ;;
  test) packages=("${build[@]}" "${run[@]}" "${fonts[@]}" openssl clang libclang-rt-14-dev imagemagick dpkg-dev) ;;
  demo) packages=("${build[@]}" "${run[@]}" "${fonts[@]}" imagemagick dunst x11-xserver-utils) ;;
  package) packages=("${build[@]}" dpkg-dev) ;;
  windows) packages=("${windows[@]}" "${fonts[@]}") ;;
  bench) packages=("${build[@]}" "${run[@]}" vsftpd curl lftp time valgrind) ;;
  *) echo "usage: $0 build|test|demo|bench|package|windows" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
