#!/usr/bin/env bash
# The saver on a Wayland compositor: sway headless (software renderer) with
# one 3840 x 2160 output, run as nobody since sway refuses root (run this as
# root). Three interleaved rounds of:
#   - exec to the first frame (the first buffer committed) and to the first
#     verse (the first frame that damages only part of the surface: the verse
#     drawn over the painted background), read from the client's protocol log
#     (WAYLAND_DEBUG, whose clock is the wall clock in microseconds, kept to
#     32 bits);
#   - CPU of the saver and of sway over 20 s at Delay 0 (a verse every 10 ms)
#     with the default small pictures.
# Usage: bench/measure-wayland.sh [path of quorl]   (a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "run as root: sway and the saver run as nobody"; exit 1; }
quorl=$(realpath "${1:-build-release/src/app/quorl}")
stage=$(mktemp -d /tmp/quorl-wayland-bench.XXXXXX)
sway_pid=""
trap '[ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$stage"' EXIT
chmod 755 "$stage"
cp "$quorl" "$stage/quorl"
mkdir -p "$stage/windows/system" "$stage/config/Zovex Screen Savers" "$stage/home" "$stage/run"
cp data/fives.txt data/sevens.txt data/*.gif "$stage/windows/system/"
(cd "$stage/windows/system" && for g in *.gif; do printf '%s\r\n' "$g"; done >GIFList.txt)
printf '[quorl]\nDelay=0\nGIFDelay=15\n' >"$stage/config/Zovex Screen Savers/quorl.conf"
printf 'output HEADLESS-1 resolution 3840x2160 position 0 0\n' >"$stage/sway.conf"
chmod -R a+rX "$stage"
chown -R 65534:65534 "$stage/home" "$stage/run" "$stage/config"
chmod 700 "$stage/run"
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH=/usr/bin:/bin HOME="$stage/home"
        XDG_RUNTIME_DIR="$stage/run")
cmd=("${nobody[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$stage/sway.conf")
"${cmd[@]}" >"$stage/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 100); do [ -S "$stage/run/wayland-1" ] && break; sleep 0.1; done
sleep 1
# An array, not a function: `$!` must be the saver's own pid (setpriv and
# env exec it).
saver=("${nobody[@]}" WAYLAND_DISPLAY=wayland-1 QUORL_WINDOWS_DIR="$stage/windows" XDG_CONFIG_HOME="$stage/config")

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"
for run in 1 2 3; do
  start_us=$(( $(date +%s%N) / 1000 ))
  "${saver[@]}" WAYLAND_DEBUG=1 "$stage/quorl" s 2>"$stage/protocol.log" &
  pid=$!
  sleep 3
  kill "$pid"; wait "$pid" 2>/dev/null || true
  # Microseconds of each commit that follows an attach, and whether its frame
  # damaged the whole surface.
  awk -v start="$start_us" '
    # "[%7u.%03u]": milliseconds padded with spaces, so not always field 1.
    function us(line) { match(line, /[0-9]+\.[0-9]+\]/); split(substr(line, RSTART, RLENGTH - 1), p, "."); return p[1] * 1000 + p[2] }
    /attach\(wl_buffer/ { attached = 1; whole = 1; next }
    attached && /damage_buffer\(/ { if ($0 !~ /damage_buffer\(0, 0, 3840, 2160\)/) whole = 0 }
    attached && /commit\(\)/ {
      t = (us($0) - start % 4294967296 + 4294967296) % 4294967296 / 1000
      if (!first) { first = t }
      if (!verse && !whole) { verse = t }
      attached = 0
      frames++
    }
    END { printf "exec to first frame: %.0f ms, to first verse: %.0f ms, %d frames in 3 s\n", first, verse, frames }' "$stage/protocol.log" |
    sed "s/^/run $run: /"
  "${saver[@]}" "$stage/quorl" s &
  pid=$!
  sleep 2
  s0=$(cpu_ticks "$pid"); w0=$(cpu_ticks "$sway_pid")
  sleep 20
  s1=$(cpu_ticks "$pid"); w1=$(cpu_ticks "$sway_pid")
  awk -v run="$run" -v s="$((s1 - s0))" -v w="$((w1 - w0))" -v hz="$ticks" \
    'BEGIN { printf "run %d: Delay 0, 20 s: saver %.1f%% of a core, sway %.1f%%\n", run, s * 100 / hz / 20, w * 100 / hz / 20 }'
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
