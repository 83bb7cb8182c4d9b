#!/usr/bin/env bash
# The hosted saver in a window another program owns (named by --window-id):
# it fills the window and redraws at once when the window is resized; each
# termination signal, the window's destruction and a lost X connection end it
# with status 0. It stays on X11 when started from a Wayland session.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768
e2e_known_saver_data

# A 640 x 480 host window at the top-left corner; its id goes to $host.
start_host() {
  e2e_start_xlogo 640x480+0+0
  host=$parent host_pid=$parent_pid
}

echo "- fills the host's window; a resize redraws at the new size"
start_host
"$QUORL" -window-id "$host" >"$WORK/hosted.log" 2>&1 &
pid=$!
# In 640 x 480 the verse box is 180..459 x 217..311.
e2e_wait_for_pixel "$WORK/small.png" 180 217 "255,0,0"
[ "$(e2e_pixel "$WORK/small.png" 458 311)" = "255,0,0" ] || fail "box corner not shaded in 640 x 480"
[ "$(e2e_pixel "$WORK/small.png" 700 100)" != "0,255,0" ] || fail "drawn outside the host's window"
xdotool windowsize "$host" 1024 768
e2e_wait_for_pixel "$WORK/large.png" 372 361 "255,0,0"
e2e_check_saver_layout "$WORK/large.png"

echo "- the host destroying its window ends it with status 0"
kill "$host_pid"
e2e_wait_exit "$pid" 2 || fail "status $? after the window went"
wait "$host_pid" 2>/dev/null || true  # its window gone before the next host's is looked for

echo "- losing the X connection ends it quietly with status 0"
start_host
"$QUORL" -window-id "$host" >>"$WORK/hosted.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/lost.png" 180 217 "255,0,0"
xkill -id "$(xdotool search --pid "$pid" | head -n1)" >/dev/null || fail "no window of the saver"
e2e_wait_exit "$pid" 2 || fail "status $? after the connection was lost"
kill "$host_pid"
wait "$host_pid" 2>/dev/null || true

echo "- SIGTERM, SIGINT and SIGHUP end it at once with status 0; a Wayland session's variables change nothing"
start_host
for signal in TERM INT HUP; do
  WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland XSCREENSAVER_WINDOW=$host \
    "$QUORL" --root >>"$WORK/hosted.log" 2>&1 &
  pid=$!
  e2e_wait_pid_window "$pid" >/dev/null  # running, its signals taken
  kill -"$signal" "$pid"
  e2e_wait_exit "$pid" 1 || fail "status $? after SIG$signal"
done
echo "PASS"
