#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it against the
# bundled simulated switch.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target velmarc-module
if ! cmake --build build -j "$(nproc)" --target switch-sim >/dev/null 2>&1; then
    echo "The simulated switch is not built yet: nothing to run against." >&2
    exit 1
fi
port_file=$(mktemp)
build/simulator/switch-sim --listen udp:127.0.0.1:0 --live >"$port_file" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$port_file"' EXIT
for _ in $(seq 50); do grep -q . "$port_file" && break; sleep 0.1; done
port=$(grep -o '[0-9]\+' "$port_file" | tail -n 1)
build/shell/velmarc-module "/x1 /I 127.0.0.1 /Ctundra /Wharbors /Ptrue /V1 /O$port"
