#!/usr/bin/env bash
# The running saver's cost and footprint under Xvfb at 3840 x 2160:
#   - exec to the first verse on the screen (bench/first_verse.c), 3 times
#     each, interleaved: `quorl s`, and hosted in another program's window
#     (`quorl --window-id`, as a screen-saver host starts it);
#   - CPU of the saver and of the X server over 20 s at Delay 0 (a verse
#     every 10 ms) with the default small pictures;
#   - peak resident memory over 15 s at Delay 0 and GIFDelay 1 with a
#     3840 x 2160 picture (one decode a second);
#   - CPU over 30 s at the default Delay 5 with that picture;
#   - with two 1920 x 1080 monitors under the real XScreenSaver (one copy per
#     monitor, as root: see tests/e2e/hosts.sh), CPU of each copy over 60 s
#     at Delay 5.
# Usage: bench/measure-saver.sh [path of quorl]   (a release build)
#
#   bench/measure-saver.sh --long SECONDS [path of quorl]
# instead runs the saver for SECONDS at Delay 0 and GIFDelay 1 (a verse every
# 10 ms, a picture every second) through the shipped pictures and the large
# one, and prints its resident memory every 10 s and its CPU over the run:
# flat memory is the bar.
set -euo pipefail
cd "$(dirname "$0")/.."
long=0
if [ "${1:-}" = "--long" ]; then
  long=$2
  shift 2
fi
quorl=$(realpath "${1:-build-release/src/app/quorl}")
work=$(mktemp -d)
chmod 700 "$work"
xvfb=""
trap 'hosts_stop 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work" "${HOSTS_STAGE:-/nonexistent}"' EXIT

cc -O2 -o "$work/first_verse" bench/first_verse.c $(pkg-config --cflags --libs xcb)
convert -size 3840x2160 -seed 3 plasma:fractal -colors 256 -dither FloydSteinberg "$work/big.gif"

export QUORL_WINDOWS_DIR="$work/windows" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
mkdir -p "$QUORL_WINDOWS_DIR/system"
cp data/fives.txt data/sevens.txt "$QUORL_WINDOWS_DIR/system/"
small_list() { for g in "$PWD"/data/*.gif; do printf '%s\r\n' "$g"; done >"$QUORL_WINDOWS_DIR/system/GIFList.txt"; }
big_list() { printf '%s\r\n' "$work/big.gif" >"$QUORL_WINDOWS_DIR/system/GIFList.txt"; }
settings() {  # Delay GIFDelay
  mkdir -p "$XDG_CONFIG_HOME/Zovex Screen Savers"
  printf '[quorl]\nDelay=%s\nGIFDelay=%s\n' "$1" "$2" >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"
}

# start_xvfb SIZE [OPTIONS...]: a server on a display it picks itself, which
# keeps its state when its last client leaves (no reset while the saver
# connects); the one before goes.
start_xvfb() {
  local size=$1
  shift
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true; }
  rm -f "$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp "$@" 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$work/display")"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
}

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
stop() { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null || true; sleep 0.3; }

start_xvfb 3840x2160

if [ "$long" -gt 0 ]; then
  printf '%s\r\n' "$PWD"/data/*.gif "$work/big.gif" >"$QUORL_WINDOWS_DIR/system/GIFList.txt"
  settings 0 1
  "$quorl" s &
  pid=$!
  sleep 3
  rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
  c0=$(cpu_ticks "$pid")
  samples=$(rss)
  for ((t = 10; t <= long; t += 10)); do
    sleep 10
    samples="$samples $(rss)"
  done
  c1=$(cpu_ticks "$pid")
  echo "CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "Delay 0, GIFDelay 1, ${long} s: resident memory every 10 s (KiB): $samples"
  echo "  peak $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status"); CPU $(( (c1 - c0) * 1000 / ticks )) ms" \
       "($(( (c1 - c0) * 100 / ticks / long ))% of a core)"
  stop "$pid"
  exit 0
fi

echo "CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"

small_list; settings 5 15
for run in 1 2 3; do
  read -r ms _ pid < <("$work/first_verse" -- "$quorl" s) || { echo "no verse"; exit 1; }
  echo "exec to first verse (run $run): $ms ms"
  stop "$pid"
  # A host's window: a whole-screen window of another program.
  xlogo -bw 0 -geometry 3840x2160+0+0 2>/dev/null &
  host=$!
  id=""
  for _ in $(seq 50); do
    id=$(xwininfo -name xlogo 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$id" ] && break
    sleep 0.1
  done
  read -r ms _ pid < <("$work/first_verse" -w "$id" -- "$quorl" --window-id "$id") || { echo "no verse"; exit 1; }
  echo "exec to first verse, hosted (run $run): $ms ms"
  stop "$pid"
  stop "$host"
done

settings 0 15
"$quorl" s &
pid=$!
sleep 2
s0=$(cpu_ticks "$pid"); x0=$(cpu_ticks "$xvfb")
sleep 20
s1=$(cpu_ticks "$pid"); x1=$(cpu_ticks "$xvfb")
echo "Delay 0, small pictures, 20 s: saver $(( (s1 - s0) * 100 / ticks / 20 ))% of a core, X server $(( (x1 - x0) * 100 / ticks / 20 ))%"
stop "$pid"

big_list; settings 0 1
"$quorl" s &
pid=$!
sleep 15
echo "Delay 0, GIFDelay 1, a 3840x2160 picture: peak resident memory $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"
stop "$pid"

settings 5 15
"$quorl" s &
pid=$!
sleep 3
s0=$(cpu_ticks "$pid")
sleep 30
s1=$(cpu_ticks "$pid")
echo "Delay 5, a 3840x2160 picture, 30 s: $(( (s1 - s0) * 1000 / ticks )) ms of CPU"
stop "$pid"

# Two monitors under the real XScreenSaver, which runs its savers as nobody:
# the program and its data are staged where nobody can read them.
if [ "$(id -u)" -ne 0 ]; then
  echo "Two monitors under XScreenSaver: skipped (needs root to run the host as nobody)"
  exit 0
fi
start_xvfb 3840x1080 +extension RANDR
xrandr --setmonitor M0 1920/508x1080/286+0+0 screen >/dev/null
xrandr --setmonitor M1 1920/508x1080/286+1920+0 none >/dev/null
cp data/*.gif "$QUORL_WINDOWS_DIR/system/"
(cd "$QUORL_WINDOWS_DIR/system" && for g in *.gif; do printf '%s\r\n' "$g"; done >GIFList.txt)
settings 5 15
fail() { echo "$*" >&2; exit 1; }
source tests/e2e/hosts.sh
hosts_stage "$quorl" "$QUORL_WINDOWS_DIR" "$XDG_CONFIG_HOME"
hosts_xscreensaver_start
hosts_xscreensaver_command -activate >/dev/null
sleep 3
declare -A before
for pid in $(hosts_saver_pids); do before[$pid]=$(cpu_ticks "$pid"); done
sleep 60
for pid in "${!before[@]}"; do
  used=$(( $(cpu_ticks "$pid") - ${before[$pid]} ))
  echo "Two monitors under XScreenSaver, Delay 5, 60 s: copy $pid used $(( used * 1000 / ticks )) ms of CPU" \
       "($(awk -v t="$used" -v k="$ticks" 'BEGIN { printf "%.3f", t / k / 60 * 100 }')% of a core)"
done
