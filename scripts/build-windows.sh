#!/usr/bin/env bash
# Builds the native Windows screen saver, build-win/quorl.scr (64-bit, one
# static file importing only system DLLs), and its tests, with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=${QUORL_WIN_BUILD:-build-win}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
