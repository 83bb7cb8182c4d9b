#!/usr/bin/env bash
# Installs what is missing, builds Quorl with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test; then fuzzes the GIF decoder
# for a minute against its judges (giflib, and a plain reading of damaged
# data): damaged image data is checked there beyond the hand-made cases.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORL_SANITIZE=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
# Run whole (no ctest arguments), the fuzz target's minute and the Windows
# side too.
if [ $# -eq 0 ]; then
  scripts/fuzz.sh 60
  # The native Windows build and its tests, under Wine.
  scripts/test-windows.sh
fi
