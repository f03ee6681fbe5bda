#!/usr/bin/env bash
# Runs a Windows test program under Wine with an anonymous FTP server on 127.0.0.1:21 (Debian's
# pyftpdlib) serving an empty folder. Wine opens its sockets in its wineserver, so this runs where the
# wineserver runs: in the private network namespace that scripts/test-windows.sh makes for the Windows
# tests, and nowhere else.
#   with-ftp-server.sh WINE PROGRAM
set -euo pipefail
if [ "$(ip -o link show | wc -l)" != 1 ]; then  # a new namespace has only its loopback
  echo "with-ftp-server.sh: not in a private network namespace; run scripts/test-windows.sh" >&2
  exit 1
fi
root=$(mktemp -d)
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 21 -d "$root" >"$root.log" 2>&1 &
trap 'kill $! 2>/dev/null || true; rm -rf "$root" "$root.log"' EXIT
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/21) 2>/dev/null && break
  sleep 0.1
done
"$@"
