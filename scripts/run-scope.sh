#!/usr/bin/env bash
# Installs what is missing, builds, and starts the scope on the built-in simulated sensor pair.
# Extra arguments go to the scope (for example --port /dev/ttyUSB0).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target qrix-scope qrix-sensor-sim
args=("$@")
((${#args[@]})) || args=(--port sim)
exec build/release/src/qrix-scope "${args[@]}"
