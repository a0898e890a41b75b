#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build dir build-fuzz) and runs
# each for a short, bounded time; fails when one finds a crash or a hang.
# Usage: scripts/fuzz.sh   (FUZZ_SECONDS per target, default 20; JOBS)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

seconds=${FUZZ_SECONDS:-20}
jobs=${JOBS:-$(nproc)}
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMARC_FUZZ=ON -DVELMARC_TESTS=ON -DVELMARC_BENCH=OFF -DVELMARC_SANITIZE=ON
cmake --build build-fuzz -j "$jobs" --target velmarc_fuzzers

status=0
for target in build-fuzz/tests/fuzz/*_fuzz; do
    name=$(basename "$target")
    corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    starts=()
    [ -d "tests/fuzz/inputs/$name" ] && starts=("tests/fuzz/inputs/$name")
    log=build-fuzz/$name.log
    if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/$name-" "$corpus" "${starts[@]}" >"$log" 2>&1; then
        echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs in ${seconds}s, no failure"
    else
        tail -n 40 "$log"
        echo "FUZZ FAILURE: $name (log $log, artifacts under build-fuzz/$name-*)"
        status=1
    fi
done
exit $status
