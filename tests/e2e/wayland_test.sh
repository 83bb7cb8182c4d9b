#!/usr/bin/env bash
# The saver on a Wayland compositor (sway, headless, with its software
# renderer): a layer-shell surface on each output with its picture and verse;
# an output whose mode changes gets a new surface; a key ends it with 0;
# after verse steps the screen equals the surfaces sent whole; on an output
# scaled by 2 the verse is drawn in device pixels; the
# compositor going away ends it with one line and status 1. sway refuses
# root, so the compositor and the saver run as nobody.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_require_root "running sway as nobody"
command -v sway >/dev/null && command -v grim >/dev/null && command -v wtype >/dev/null ||
  { echo "SKIP: sway, grim or wtype missing"; exit 77; }
e2e_known_saver_data

STAGE=$(mktemp -d /tmp/quorl-wayland.XXXXXX)
trap 'e2e_cleanup; rm -rf "$STAGE"' EXIT
chmod 755 "$STAGE"
cp "$QUORL" "$STAGE/quorl"
cp -r "$QUORL_WINDOWS_DIR" "$STAGE/windows"
cp -r "$XDG_CONFIG_HOME" "$STAGE/config"
mkdir -p "$STAGE/home" "$STAGE/run" "$STAGE/shots"
printf 'leak:libdbus-1.so\n' >"$STAGE/lsan.supp"
chmod -R a+rX "$STAGE"
chown -R 65534:65534 "$STAGE/home" "$STAGE/run" "$STAGE/shots" "$STAGE/config"
chmod 700 "$STAGE/run"
NOBODY=(setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH=/usr/bin:/bin HOME="$STAGE/home"
        XDG_RUNTIME_DIR="$STAGE/run")

start_sway() {
  printf 'output HEADLESS-1 resolution 1024x768 position 0 0\n' >"$STAGE/sway.conf"
  chmod a+r "$STAGE/sway.conf"
  rm -f "$STAGE"/run/wayland-* "$STAGE"/run/sway-ipc.*
  local cmd=("${NOBODY[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
             sway -c "$STAGE/sway.conf")
  "${cmd[@]}" >"$WORK/sway.log" 2>&1 &
  sway_pid=$!
  E2E_PIDS+=($sway_pid)
  for _ in $(seq 100); do
    sock=$(ls "$STAGE"/run/sway-ipc.*.sock 2>/dev/null | head -n1 || true)
    [ -n "$sock" ] && [ -S "$STAGE/run/wayland-1" ] && return 0
    sleep 0.1
  done
  fail "sway did not start: $(tail -3 "$WORK/sway.log")"
}
as_client() { "${NOBODY[@]}" WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$sock" "$@"; }
sway_do() { as_client swaymsg "$@" >/dev/null || fail "swaymsg $*"; }
# start_client LOG VARIABLE=VALUE... COMMAND...: a client in the background,
# its own pid in $client (started from an array: $! of a function would be
# a subshell's, which a kill would end leaving the client running).
start_client() {
  local log=$1
  shift
  local cmd=("${NOBODY[@]}" WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$sock" QUORL_WINDOWS_DIR="$STAGE/windows"
             XDG_CONFIG_HOME="$STAGE/config" LSAN_OPTIONS=suppressions="$STAGE/lsan.supp" "$@")
  "${cmd[@]}" >"$log" 2>&1 &
  client=$!
  E2E_PIDS+=($client)
}
# start_saver [VARIABLE=VALUE...]: the saver, its pid in $pid.
start_saver() {
  start_client "$WORK/saver.log" "$@" "$STAGE/quorl" s
  pid=$client
}
shot() { as_client grim "$STAGE/shots/$1.png" && cp "$STAGE/shots/$1.png" "$WORK/$1.png"; }
# wait_for_pixel NAME X Y RGB: screenshots until the pixel has that colour.
wait_for_pixel() {
  for _ in $(seq 40); do
    sleep 0.25
    shot "$1" || continue
    [ "$(e2e_pixel "$WORK/$1.png" "$2" "$3")" = "$4" ] && return 0
  done
  fail "pixel ($2, $3) is $(e2e_pixel "$WORK/$1.png" "$2" "$3"), not $4"
}

echo "- two outputs, a surface with picture and verse on each"
start_sway
sway_do create_output
sway_do output HEADLESS-2 resolution 1024x768 position 1024 0
start_saver
wait_for_pixel two $((1024 + 372)) 361 "255,0,0"
wait_for_pixel two 372 361 "255,0,0"
e2e_check_saver_layout "$WORK/two.png" 0
e2e_check_saver_layout "$WORK/two.png" 1024
grep -q "layer shell" "$WORK/saver.log" && fail "fell back to X11: $(cat "$WORK/saver.log")"

echo "- an output changing its mode loses its surface and gets a new one; the saver runs on"
# (sway 1.7's headless outputs refuse "disable": a changed mode is the
# monitor going and another coming.)
sway_do output HEADLESS-2 resolution 800x600
red_on_second() {
  convert "$WORK/$1.png" -crop 800x600+1024+0 +repage -format %c histogram:info:- | grep -ci "#FF0000" || true
}
for _ in $(seq 40); do
  sleep 0.25
  shot changed || continue
  [ "$(identify -format %w "$WORK/changed.png")" = 1824 ] && [ "$(red_on_second changed)" -gt 0 ] && break
done
[ "$(identify -format %w "$WORK/changed.png")" = 1824 ] || fail "the output's new mode is not captured"
[ "$(red_on_second changed)" -gt 0 ] || fail "no verse on the output with its new mode"
ps -o stat= -p "$pid" | grep -qv Z || fail "the saver ended when an output changed: $(cat "$WORK/saver.log")"
# (The other output is not looked at here: sway 1.7 headless shows it black,
# then grey, after a mode change, though the saver committed it whole again.)

echo "- a key ends it with 0 within a second"
# The seat has a keyboard only while wtype's virtual one exists, and a key
# typed before the saver has bound it is lost: keys go every 100 ms, and the
# saver must end within a second of the first.
start_client /dev/null wtype a -s 100 a -s 100 a -s 100 a -s 100 a
typing=$client
e2e_wait_exit "$pid" 1 || fail "status $? after a key: $(cat "$WORK/saver.log")"
wait "$typing" || true  # its last keys must not reach the next saver
pgrep -u 65534 -x quorl >/dev/null && fail "a saver is left running: $(pgrep -a -u 65534 -x quorl)"

echo "- after verse steps, the output shows what the surfaces sent whole show"
# A step sends only the areas it changed: a row or a column left out of the
# copy into a buffer or out of the damage stays stale on the screen. The
# saver sends every surface whole again when the outputs are configured
# again, which "output ... position" does even unchanged; its protocol log
# tells when those frames are out (their frame callbacks done). Boxes of
# many widths over a picture smaller than the verse box: a row left out
# keeps what an older box left there.
sys=$STAGE/windows/system
printf '%s\r\n' ab cdefg hijklmnop qrstuvwxyzabcd efghijklmnopqrstuvw xyzabcdefghijklmnopqrstuvwxy >"$sys/fives.txt"
printf 'x\r\nyz\r\n' >"$sys/sevens.txt"
convert -seed 9 -size 97x61 plasma: "$sys/small.gif"
printf 'small.gif\r\n' >"$sys/GIFList.txt"
printf '[quorl]\nFontSize=9\nFillColor=255\nBackColor=65280\nDelay=1\nGIFDelay=100000\n' \
  >"$STAGE/config/Zovex Screen Savers/quorl.conf"
chmod -R a+rX "$sys"
out_shot() { as_client grim -t ppm -o HEADLESS-1 - >"$WORK/$1.ppm"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# next_step: until HEADLESS-1 differs from now.ppm, then until two shots
# agree; the time of the last shot before the change goes to $before_step.
next_step() {
  local deadline=$((SECONDS + 20))
  before_step=$(now_ms)
  while out_shot next; cmp -s "$WORK/now.ppm" "$WORK/next.ppm"; do
    [ $SECONDS -lt $deadline ] || fail "no verse step within 20 s"
    before_step=$(now_ms)
    sleep 0.02
  done
  until out_shot now; cmp -s "$WORK/now.ppm" "$WORK/next.ppm"; do
    mv "$WORK/now.ppm" "$WORK/next.ppm"
  done
}
# sent_whole MARK: until, after line MARK of the protocol log, both surfaces
# have committed and every frame asked for is done.
sent_whole() {
  local deadline=$((SECONDS + 10))
  until awk -v mark="$1" 'NR <= mark { next }
      / -> wl_surface@[0-9]+\.commit\(/ { id = $0; sub(/.*wl_surface@/, "", id); sub(/\..*/, "", id); done[id] = 1 }
      / -> wl_surface@[0-9]+\.frame\(/ { id = $0; sub(/.*wl_callback@/, "", id); sub(/\).*/, "", id); wait[id] = 1 }
      / wl_callback@[0-9]+\.done\(/ { id = $0; sub(/.*wl_callback@/, "", id); sub(/\..*/, "", id); delete wait[id] }
      END { for (id in wait) exit 1; n = 0; for (id in done) n++; exit n < 2 }' "$WORK/saver.log"; do
    [ $SECONDS -lt $deadline ] || fail "the surfaces were not sent whole again"
    sleep 0.02
  done
}
out_shot now
start_saver WAYLAND_DEBUG=client
next_step
next_step
checked=0
for _ in 1 2 3 4 5 6; do
  next_step
  mark=$(wc -l <"$WORK/saver.log")
  sway_do output HEADLESS-1 position 0 0
  sent_whole "$mark"
  out_shot whole
  # A check that outlasts half a step period may have a step inside it.
  if [ $(($(now_ms) - before_step)) -lt 500 ]; then
    cmp -s "$WORK/now.ppm" "$WORK/whole.ppm" ||
      fail "the output after verse steps is not its surface sent whole: $(compare -metric AE "$WORK/now.ppm" \
        "$WORK/whole.ppm" null: 2>&1 || true) pixels differ, within $(convert "$WORK/now.ppm" "$WORK/whole.ppm" \
        -compose difference -composite -trim -format '%wx%h%O' info:) (see $WORK/*.ppm)"
    [ $((++checked)) -lt 3 ] || break
  else
    echo "  (a check outlasted half a step period: not counted)"
  fi
  cp "$WORK/whole.ppm" "$WORK/now.ppm"
done
[ "$checked" -eq 3 ] || fail "most checks outlasted half a step period"
kill "$pid"
e2e_wait_exit "$pid" 5 || fail "status $? after SIGTERM"

echo "- an output scaled by 2: picture and verse in device pixels"
convert -size 400x300 xc:'#0000ff' "$sys/dusk.gif"
printf 'dusk.gif\r\n' >"$sys/GIFList.txt"
chmod a+r "$sys/dusk.gif"
printf '[quorl]\nFillColor=16711680\nBackColor=65280\nFontColor=16777215\n' \
  >"$STAGE/config/Zovex Screen Savers/quorl.conf"
sway_do output HEADLESS-1 scale 2
start_saver
wait_for_pixel scaled 112 84 "0,0,255"
e2e_check_scaled_layout "$WORK/scaled.png"

echo "- the configuration dialog is a Wayland window, not an XWayland one"
start_client "$WORK/config.log" "$STAGE/quorl" c
config_pid=$client
# The tree is read whole first: grep -q leaving early would end swaymsg with
# SIGPIPE, a failure under pipefail.
native_window() { local tree; tree=$(as_client swaymsg -t get_tree) && [[ $tree == *'"shell": "xdg_shell"'* ]]; }
for _ in $(seq 60); do
  native_window && break
  sleep 0.25
done
native_window || fail "no Wayland window for the dialog: $(cat "$WORK/config.log")"
kill "$config_pid"
status=0
e2e_wait_exit "$config_pid" 5 || status=$?
[ "$status" -eq 143 ] || fail "the dialog's status on SIGTERM: $status $(cat "$WORK/config.log")"

echo "- QUORL_DISPLAY forces either side"
status=0
as_client QUORL_DISPLAY=x11 "$STAGE/quorl" s >"$WORK/forced.log" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -q "no X display" "$WORK/forced.log" || fail "x11 not forced: $status $(cat "$WORK/forced.log")"
status=0
"${NOBODY[@]}" WAYLAND_DISPLAY=no-such-compositor QUORL_DISPLAY=wayland "$STAGE/quorl" s >"$WORK/forced.log" 2>&1 ||
  status=$?
[ "$status" -eq 1 ] && [ "$(cat "$WORK/forced.log")" = 'quorl: cannot connect to the Wayland compositor "no-such-compositor"' ] ||
  fail "wayland not insisted on: $status $(cat "$WORK/forced.log")"

echo "- the compositor killed: one line, status 1"
kill "$sway_pid"
status=0
e2e_wait_exit "$pid" 5 || status=$?
[ "$status" -eq 1 ] || fail "status $status when the compositor went: $(cat "$WORK/saver.log")"
[ "$(grep -c . "$WORK/saver.log")" -eq 1 ] || fail "not one line: $(cat "$WORK/saver.log")"
grep -q "lost the connection to the Wayland compositor" "$WORK/saver.log" || fail "$(cat "$WORK/saver.log")"
echo "PASS"
