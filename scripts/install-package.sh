#!/usr/bin/env bash
# Installs what is missing, builds the release, makes the .deb and installs it with apt, which
# brings the libraries it depends on. Run as root. Afterwards qrix-scope is on the PATH and in
# the desktop's menu, and `man qrix-scope` explains it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target qrix-scope qrix-sensor-sim man_pages
rm -rf build/release/package
cpack --preset release
apt-get install -y "./$(ls build/release/package/qrix-scope_*.deb)"
