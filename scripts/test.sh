#!/usr/bin/env bash
# Installs what is missing, builds Quorl with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORL_SANITIZE=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
