#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
# Usage: scripts/test.sh [--sanitize]   (build dir: build, or build-asan)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
    build=build-asan
    flags=(-DVELMARC_SANITIZE=ON -DVELMARC_BENCH=OFF)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
