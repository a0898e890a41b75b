#!/usr/bin/env bash
# Takes the README's picture of the main window: builds the program and the
# simulated switch, runs both on a virtual X display (Xvfb) and saves the
# window as a PNG. Not part of the tests.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default docs/images/main-window.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/images/main-window.png}

scripts/setup-debian.sh
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
command -v xwininfo >/dev/null || need+=(x11-utils)
if ((${#need[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target velmarc-module switch-sim

work=$(mktemp -d)
pids=()
cleanup() {
    # The window first, the X server last.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Waits (up to 10 s) until the command given succeeds.
wait_for() {
    for _ in $(seq 100); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    echo "Gave up waiting for: $*" >&2
    return 1
}

Xvfb -displayfd 3 -screen 0 2400x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for grep -q . "$work/display"
export DISPLAY=:$(head -n 1 "$work/display")

build/simulator/switch-sim --listen udp:127.0.0.1:0 --live >"$work/port" &
pids+=($!)
wait_for grep -q listening "$work/port"
port=$(sed -n 's/^listening on udp:127\.0\.0\.1:\([0-9]\+\)$/\1/p' "$work/port")

mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime build/shell/velmarc-module "/x1 /I 127.0.0.1 /Ctundra /Wharbors /Ptrue /V1 /O$port" &
pids+=($!)
window_id() { xwininfo -root -tree | awk '/127\.0\.0\.1/ { print $1; exit }'; }
has_window() { [ -n "$(window_id)" ]; }
wait_for has_window
# Two refresh periods, so the panel shows the switch's live state.
sleep 4.5
mkdir -p "$(dirname "$out")"
import -window "$(window_id)" "$out"
echo "Saved $out"
