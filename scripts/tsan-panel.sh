#!/usr/bin/env bash
# Builds the front-panel tests with ThreadSanitizer and runs them: the
# refresh thread's synchronous gets, the exchange under the panel lock and
# the posted repaints must show no data race.
# Usage: scripts/tsan-panel.sh   (build dir: build-tsan)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARC_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build-tsan -j4 --target CPanelView_test switch-sim
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" QT_QPA_PLATFORM=offscreen build-tsan/tests/CPanelView_test
