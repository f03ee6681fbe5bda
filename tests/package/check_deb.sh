#!/usr/bin/env bash
# Builds the .deb from a configured build folder and checks what a host's installer relies on: the name
# and version, dependencies read from the binary, the files in the updater's own folder, and update.cfg
# kept across upgrades.
#   check_deb.sh <build folder>
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >/dev/null
deb=$(echo "$out"/updater_1.0.19_*.deb)
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "no updater_1.0.19_<arch>.deb in: $(ls "$out")"
[ "$(dpkg-deb -f "$deb" Package Version | tr '\n' ' ')" = "Package: updater Version: 1.0.19 " ] || fail "name or version"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6dbus6 libcurl4; do
  [[ "$depends" == *"$library ("* ]] || fail "Depends lacks $library: $depends"
done
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sort)
expected=$'-rw-r--r-- ./opt/updater/LICENSE\n-rw-r--r-- ./opt/updater/README.md\n-rw-r--r-- ./opt/updater/update.cfg\n-rwxr-xr-x ./opt/updater/updater'
[ "$files" = "$expected" ] || fail "files: $files"
[ "$(dpkg-deb -I "$deb" conffiles)" = /opt/updater/update.cfg ] || fail "update.cfg is not kept across upgrades"
echo "$(basename "$deb"): $depends"
