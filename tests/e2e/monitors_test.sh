#!/usr/bin/env bash
# The standalone saver on two monitors covers both, each with its own verse
# and picture; a monitor going away takes its window and nothing else; a key
# ends it with status 0. On a desktop scaled by 2 it draws in device pixels: the
# picture covers twice its size and the glyph edges are finer than 2 x 2 blocks.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_known_saver_data

echo "- two monitors, one saver window on each"
e2e_start_two_monitors
"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/two.png" 372 361 "255,0,0"
e2e_wait_for_pixel "$WORK/two.png" $((1024 + 372)) 361 "255,0,0"
e2e_check_saver_layout "$WORK/two.png" 0
e2e_check_saver_layout "$WORK/two.png" 1024
echo "- a monitor going away leaves the saver running on the other; one coming is covered"
xrandr --delmonitor M1 >/dev/null
for _ in $(seq 100); do
  [ "$(xwininfo -root -children | grep -c '1024x768+1024+0')" -eq 0 ] && break
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null || fail "the saver ended when a monitor went away"
[ "$(xwininfo -root -children | grep -c '1024x768+1024+0')" -eq 0 ] || fail "the window of the monitor that went is still there"
xrandr --setmonitor M1 1024/271x768/203+1024+0 none >/dev/null
e2e_wait_for_pixel "$WORK/again.png" $((1024 + 372)) 361 "255,0,0"
xdotool key a
e2e_wait_exit "$pid" 1 || fail "status $? after a key"

echo "- scaled by 2: picture and font in device pixels"
e2e_cleanup
e2e_start_xvfb 1024x768
# A blue 400 x 300 picture under a blue box: only the verse shows in the box.
convert -size 400x300 xc:'#0000ff' "$QUORL_WINDOWS_DIR/system/dusk.gif"
printf '[quorl]\nFillColor=16711680\nBackColor=65280\nFontColor=16777215\n' >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"
QT_SCALE_FACTOR=2 "$QUORL" s >>"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/scaled.png" 112 84 "0,0,255"  # the first verse, with the picture
e2e_check_scaled_layout "$WORK/scaled.png"
xdotool key a
e2e_wait_exit "$pid" 1 || fail "status $? after a key"
echo "PASS"
