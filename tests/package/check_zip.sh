#!/usr/bin/env bash
# Checks a Windows zip as a host's installer and a user's Windows meet it: exactly updater.exe,
# update.cfg, README.md and LICENSE at its top; the program for the zip's machine, a GUI program
# importing only Windows' own DLLs that Windows keeps as known DLLs (the others are loaded from the
# system folder on first use), with ASLR (high entropy on x86-64) and DEP, without debugging symbols.
#   check_zip.sh <zip> <objdump of the toolchain>
set -euo pipefail
fail() { echo "FAIL: $1: $2" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
names=$(/usr/bin/python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$1")
[ "$names" = "LICENSE README.md update.cfg updater.exe" ] || fail "$1" "files: $names"
/usr/bin/python3 -m zipfile -e "$1" "$out"
case "$1" in
  *-win64.zip) machine="i386:x86-64" flags="HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT" ;;
  *-win32.zip) machine="i386" flags="DYNAMIC_BASE NX_COMPAT" ;;
  *) fail "$1" "neither -win64.zip nor -win32.zip" ;;
esac
headers=$("$2" -f -p "$out/updater.exe")
[[ "$headers" == *"architecture: $machine,"* ]] || fail "$1" "machine: $(grep architecture <<<"$headers")"
grep -q "^Subsystem.*(Windows GUI)" <<<"$headers" || fail "$1" "not a GUI program"
for flag in $flags; do grep -qx "[[:space:]]*$flag" <<<"$headers" || fail "$1" "no $flag"; done
imports=$(grep "DLL Name:" <<<"$headers" | awk '{print tolower($3)}' | sort | tr '\n' ' ')
[ "$imports" = "gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll " ] || fail "$1" "imports: $imports"
! grep -q "debug_info" <<<"$("$2" -h "$out/updater.exe")" || fail "$1" "debugging symbols"
echo "$(basename "$1"): $machine, imports $imports"
