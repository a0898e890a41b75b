#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
# Usage: scripts/test.sh [--sanitize | --tsan]   (build dir: build, build-asan
# or build-tsan). --tsan runs only the SNMP layer's, the sessions' and the
# front panel's test programs, under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
    build=build-asan
    # -O1, as the sanitizers' own documentation advises: reports stay exact
    # and the build takes less time than at -O2.
    flags=(-DVELMARC_SANITIZE=ON -DVELMARC_BENCH=OFF
           "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
fi
if [ "${1:-}" = "--tsan" ]; then
    build=build-tsan
    programs=(CSnmp_test CSnmpTable_test CSnmpTableFaults_test SnmpDispatcher_test SnmpDispatcherLifetime_test
              SnmpEngineFaults_test SnmpManyDescriptors_test CSnmpRowWalkTables_test CCommonSNMP_test CCommonSNMPQt_test CCommonSNMPThreads_test CCommonSNMPSimWalk_test CPanelView_test)
    export QT_QPA_PLATFORM=offscreen
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARC_TSAN=ON -DVELMARC_BENCH=OFF
    cmake --build "$build" -j "$(nproc)" --target "${programs[@]}"
    for p in "${programs[@]}"; do
        echo "== $p"
        # The panel draws with QPainter, whose worker threads live inside Qt.
        supp=tests/tsan.supp
        [ "$p" = CPanelView_test ] && supp=tests/tsan-panel.supp
        TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/$supp" "$build/tests/$p" --gtest_brief=1
    done
    exit 0
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
