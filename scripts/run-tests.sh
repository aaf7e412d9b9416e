#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test, builds once more as
# a packager would (default options), builds and checks the .deb, runs the tests again under the
# address and undefined-behaviour sanitizers, builds the toolkit-free code as Windows programs
# and runs their tests under Wine, runs each fuzz harness for a fixed number of inputs, and
# checks the formatting. Each step says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs a step and prints its wall time and the processor time it took, which a busy machine
# does not inflate.
step() {
  local TIMEFORMAT="== $1: %0R s (processor: %0U s user, %0S s system)"
  shift
  time "$@"
}

formatting() {
  # One formatting for every source file.
  find src tests bench fuzz -name '*.cpp' -o -name '*.h' -o -name '*.hpp' |
    xargs clang-format-16 --dry-run --Werror
}
release() {
  cmake --preset release
  cmake --build --preset release
  ctest --preset release
}
sanitizers() {
  cmake --preset asan
  cmake --build --preset asan
  ctest --preset asan
}
plain() {
  # As a packager or a new user builds: no preset, default options, warnings not errors.
  cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=Release
  cmake --build build/plain -j 2
}
windows() {
  cmake --preset windows
  cmake --build --preset windows
  ctest --preset windows
}

step dependencies bash scripts/install-deps.sh
step formatting formatting
step release release
step plain plain
step package bash scripts/check-package.sh
step sanitizers sanitizers
step windows windows
step fuzz bash scripts/fuzz.sh
