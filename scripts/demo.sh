#!/usr/bin/env bash
# Installs what is missing, builds the program and the simulated switch,
# starts the switch in its live mode (port links go up and down) and runs
# the main window on it. Closing the window stops the switch.
#   scripts/demo.sh [MODEL]
# MODEL is one of the folders under resources/ (PQS-4400-52 when not given;
# PQS-4400-28P is the PoE model).
set -euo pipefail
cd "$(dirname "$0")/.."
model=${1:-PQS-4400-52}
if [ ! -f "resources/$model/$model.ini" ] || [ ! -f "simulator/$model.sim" ]; then
    echo "Unknown model $model; one of: $(cd resources && ls -d PQS-* | tr '\n' ' ')" >&2
    exit 2
fi
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A build error of either target stops here with the compiler's own words.
cmake --build build -j "$(nproc)" --target velmarc-module switch-sim

# The program reads Config.ini beside itself: for another model than the
# built-in default it runs from a scratch folder of its own.
program=build/shell/velmarc-module
run_dir=
if [ "$model" != PQS-4400-52 ]; then
    run_dir=$(mktemp -d)
    cp build/shell/velmarc-module build/shell/User.ini "$run_dir"/
    cp -r "resources/$model" "$run_dir"/
    printf '[DeviceInfo]\nPath=%s\nFile=%s.ini\n' "$model" "$model" >"$run_dir/Config.ini"
    program=$run_dir/velmarc-module
fi

port_file=$(mktemp)
build/simulator/switch-sim --listen udp:127.0.0.1:0 --live --model "$model" >"$port_file" &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait $sim 2>/dev/null || true; rm -f "$port_file"; [ -z "$run_dir" ] || rm -rf "$run_dir"' EXIT
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
echo "Simulated $model on udp:127.0.0.1:$port (read community tundra, write community harbors)"
"$program" "/x1 /I 127.0.0.1 /Ctundra /Wharbors /Ptrue /V1 /O$port"
