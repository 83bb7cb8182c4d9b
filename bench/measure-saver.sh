#!/usr/bin/env bash
# The running saver's cost between ticks and its footprint: CPU time over
# 30 s of `quorl s` with Delay 5 under Xvfb, and peak memory with a
# 3840 x 2160 picture. Usage: bench/measure-saver.sh [path of quorl]
set -euo pipefail
cd "$(dirname "$0")/.."
quorl=${1:-build-release/src/app/quorl}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

export QUORL_WINDOWS_DIR="$work/windows" XDG_CONFIG_HOME="$work/config"
mkdir -p "$QUORL_WINDOWS_DIR/system"
cp data/fives.txt data/sevens.txt "$QUORL_WINDOWS_DIR/system/"
convert -size 3840x2160 -seed 3 plasma:fractal -colors 256 -dither FloydSteinberg "$work/big.gif"
printf '%s\r\n' "$work/big.gif" >"$QUORL_WINDOWS_DIR/system/GIFList.txt"

Xvfb :71 -screen 0 3840x2160x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:71
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

"$quorl" s &
pid=$!
sleep 3  # start-up: decode, first verse
ticks=$(getconf CLK_TCK)
read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
sleep 30
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
peak=$(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")
xdotool key space
wait "$pid"
cpu_ms=$(( (u1 + s1 - u0 - s0) * 1000 / ticks ))
echo "CPU time over 30 s (6 verse steps, 2 picture loads): ${cpu_ms} ms"
echo "Peak resident memory with a 3840x2160 picture: ${peak}"
