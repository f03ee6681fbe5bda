#!/usr/bin/env bash
# Runs a Windows test program under Wine with an anonymous FTP server on 127.0.0.1:21 (Debian's
# pyftpdlib), both inside a private network namespace; the program gets the server's folder as a
# Windows path. Needs root for the namespace.
#   with-ftp-server.sh WINE PROGRAM
set -euo pipefail
if [ "${1:-}" != --inside ]; then exec unshare -n "$0" --inside "$@"; fi
wine=$2 program=$3

ip link set lo up
root=$(mktemp -d)
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 21 -d "$root" >"$root.log" 2>&1 &
server=$!
trap 'kill $server; wait $server 2>/dev/null; rm -rf "$root" "$root.log"' EXIT
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/21) 2>/dev/null && break
  sleep 0.1
done
# Wine's drive Z: is the Unix root.
"$wine" "$program" "Z:${root//\//\\}"
