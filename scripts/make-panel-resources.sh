#!/usr/bin/env bash
# Redraws the front-panel pictures and rewrites the panel XML and device
# INI of every model under resources/ (commit the result).
#   scripts/make-panel-resources.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target make-panel-resources
QT_QPA_PLATFORM=offscreen "$build/resources/make-panel-resources" "$root/resources"
