#!/usr/bin/env bash
# Builds the Windows side (scripts/build-windows.sh) and runs its tests under
# Wine: the unit tests and the end-to-end tests of quorl.scr on a 1024 x 768
# Xvfb, all in a private Wine prefix inside the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh
build=${QUORL_WIN_BUILD:-build-win}

export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A display number the server picks itself, free whatever else runs.
mkdir -p "$build"
rm -f "$build/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/xvfb-display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$build/xvfb-display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$build/xvfb-display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i </dev/null >/dev/null 2>&1 || true
  # Without a window manager, Wine's own management closes windows late.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
# A persistent server (replacing the one the prefix's creation left) with
# its services already started: otherwise the services keep ctest's output
# pipe open and ctest never ends.
wineserver -k 2>/dev/null || true
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure "$@"
