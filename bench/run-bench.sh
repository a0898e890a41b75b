#!/usr/bin/env bash
# Starts a private snmpd on a free loopback port and runs bench_walk against
# it. Usage: bench/run-bench.sh [build dir] [extra bench_walk arguments]
# Default column: hrSWInstalledName (one row per installed package, ~900 here).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
bench="$build/bench/bench_walk"
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build)" >&2; exit 2; }

dir=$(mktemp -d)
trap 'kill "$(cat "$dir/snmpd.pid" 2>/dev/null)" 2>/dev/null || true; sleep 0.2; rm -rf "$dir"' EXIT
mkdir -p "$dir/persist"
printf 'rocommunity public 127.0.0.1\n' > "$dir/snmpd.conf"
port=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
SNMP_PERSISTENT_DIR="$dir/persist" MIBS= /usr/sbin/snmpd -Ln -C -c "$dir/snmpd.conf" -p "$dir/snmpd.pid" "udp:127.0.0.1:$port"
for _ in $(seq 50); do
    snmpget -v1 -c public -On -t 0.2 -r 0 "127.0.0.1:$port" 1.3.6.1.2.1.1.3.0 >/dev/null 2>&1 && break
    sleep 0.1
done
"$bench" --agent "127.0.0.1:$port" --community public --oid 1.3.6.1.2.1.25.6.3.1.2 "$@"
