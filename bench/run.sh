#!/usr/bin/env bash
# Times build/updater against curl and lftp on a local vsftpd, and against curl on a local nginx over
# HTTPS, and measures its idle CPU and memory.
#   sudo bench/run.sh [--runs N]
# Needs root: the servers listen on 127.0.0.1 inside private network and mount namespaces (the mount
# namespace trusts the run's own certificate authority).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "The benchmark needs root for a private network namespace. Run: sudo $0" >&2
  exit 1
fi
scripts/install-packages.sh bench
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
make -C build -j2 --no-print-directory updater >/dev/null
exec unshare -n -m /usr/bin/python3 bench/bench.py build/updater "$@"
