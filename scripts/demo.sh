#!/usr/bin/env bash
# Installs what is missing, builds the program and the simulated switch,
# starts the switch in its live mode (port links go up and down) and runs
# the main window on it. Closing the window stops the switch.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A build error of either target stops here with the compiler's own words.
cmake --build build -j "$(nproc)" --target velmarc-module switch-sim

port_file=$(mktemp)
build/simulator/switch-sim --listen udp:127.0.0.1:0 --live >"$port_file" &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait $sim 2>/dev/null || true; rm -f "$port_file"' EXIT
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^listening on udp:127\.0\.0\.1:\([0-9]\+\)$/\1/p' "$port_file")
    [ -n "$port" ] && break
    if ! kill -0 "$sim" 2>/dev/null; then
        echo "The simulated switch ended before it was ready (see its messages above)." >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "The simulated switch did not report its port within 10 s." >&2
    exit 1
fi
echo "Simulated PQS-4400-52 on udp:127.0.0.1:$port (read community tundra, write community harbors)"
build/shell/velmarc-module "/x1 /I 127.0.0.1 /Ctundra /Wharbors /Ptrue /V1 /O$port"
