#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test, then runs the tests
# again under the address and undefined-behaviour sanitizers, and checks the formatting.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# One formatting for every source file.
find src tests bench -name '*.cpp' -o -name '*.h' -o -name '*.hpp' | xargs clang-format --dry-run --Werror
# No include cycle between the folders of src/.
bash scripts/check-layers.sh

cmake --preset release
cmake --build --preset release
ctest --preset release

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
