#!/usr/bin/env bash
# Installs the Debian 12 packages the scope needs to build, run and test. Run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libqcustomplot-dev libgl-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # One brace style: InsertBraces needs clang-format 16.
  clang-format-16
  # The MQTT publisher: its client library, and the broker and certificates of its tests.
  libmosquitto-dev mosquitto openssl
  # Windows programs of the toolkit-free code, tested under Wine; GoogleTest built from source.
  g++-mingw-w64-x86-64-posix wine64 googletest
  # Fuzz harnesses.
  clang-14 libclang-rt-14-dev libfuzzer-14-dev
  # The .deb and its checks.
  dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
