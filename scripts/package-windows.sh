#!/usr/bin/env bash
# Builds Quorl's Windows installer with NSIS (packaging/windows/quorl.nsi):
# quorl.scr from a release build in BUILD (default build-win, the one
# scripts/build-windows.sh makes) with the default verse files, picture list
# and pictures of data/. The last line printed is the installer's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  --no-warn-unused-cli >/dev/null
cmake --build "$build" --target installer >/dev/null
ls "$build"/quorl-*-setup.exe
