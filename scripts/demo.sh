#!/usr/bin/env bash
# The updater's main job on a local demo: builds the program, serves a sample installer from a real FTP
# server on port 21 in a private network namespace and lets the updater fetch and start it, on your
# display when there is one, otherwise on a virtual display whose screenshots are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "The demo needs root: it gives the FTP server port 21 in a private network namespace." >&2
  echo "Run: sudo $0" >&2
  exit 1
fi
scripts/install-packages.sh demo
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build -j "$(nproc)"
exec unshare -n /usr/bin/python3 scripts/demo.py build/updater
