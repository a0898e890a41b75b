#!/usr/bin/env bash
# Starts the simulated switch on a free loopback port and runs bench_walk
# against its forwarding table (about 1,000 rows), then bench_get (v1 and
# v3 authPriv gets, beside net-snmp's own).
# Usage: bench/run-bench.sh [build dir] [extra bench_walk arguments]
#        (bench_get takes its arguments from BENCH_GET_ARGS)
#        BENCH=bench_panel bench/run-bench.sh [build dir] [--runs N]   (one front-panel pass)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
bench="$build/bench/${BENCH:-bench_walk}"
bench_get="$build/bench/bench_get"
sim="$build/simulator/switch-sim"
for f in "$bench" "$bench_get" "$sim"; do
    [ -x "$f" ] || { echo "build $f first (cmake --build $build)" >&2; exit 2; }
done

out=$(mktemp)
ctl=$(mktemp -u)
"$sim" --listen udp:127.0.0.1:0 --control "$ctl" >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -f "$out" "$ctl"' EXIT
for _ in $(seq 50); do grep -q listening "$out" && break; sleep 0.1; done
port=$(grep -o '[0-9]\+$' "$out")
if [ "${BENCH:-bench_walk}" = bench_panel ]; then
    "$bench" --port "$port" "$@"
    exit 0
fi
# The switch's default v3 user with SHA and DES.
"$bench" --agent "127.0.0.1:$port" --community tundra --oid 1.3.6.1.2.1.17.7.1.2.2.1.2 \
    --user velshades --auth velshades-auth --priv velshades-priv --control "$ctl" "$@"

# shellcheck disable=SC2086
"$bench_get" --agent "127.0.0.1:$port" --community tundra \
    --user velshades --auth velshades-auth --priv velshades-priv ${BENCH_GET_ARGS:-}
