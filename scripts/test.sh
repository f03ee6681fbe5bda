#!/usr/bin/env bash
# Installs what the tests need, builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs every test, then builds and runs the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh test
cmake -S . -B build-tests -DUPDATER_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build-tests -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-tests --output-on-failure --timeout 900

# The Windows build and its tests under Wine.
scripts/test-windows.sh

# The fuzz targets: replay the seed corpus, then explore for a bounded time each.
cmake -S . -B build-fuzz -DUPDATER_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz -j "$(nproc)"
ctest --test-dir build-fuzz --output-on-failure -j "$(nproc)"
