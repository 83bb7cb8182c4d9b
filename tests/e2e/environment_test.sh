#!/usr/bin/env bash
# What the program finds in its environment at start-up. It changes the
# environment only while it has a single thread: fontconfig's loading thread
# reads it, and a change meanwhile crashed one start in forty. A scale that
# is no finite number from 0.25 to 16 (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS,
# the X resource Xft.dpi) is ignored with one line, and the saver runs at the
# screen's own scale: -1 had made a window 65376 pixels wide that no input
# could end.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768
e2e_known_saver_data

echo "- the environment is changed before any thread starts (s, --root; a short run of starts)"
for run in 1 2 3; do
  for mode in s --root; do
    LD_PRELOAD="$QUORL_ENVGUARD" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
      DESKTOP_STARTUP_ID=quorl-test SESSION_MANAGER=local/none "$QUORL" $mode >"$WORK/start.log" 2>&1 &
    pid=$!
    sleep 1.5
    kill -TERM "$pid"
    e2e_wait_exit "$pid" 2 || fail "$mode: status $?: $(cat "$WORK/start.log")"
    ! grep -q "envguard\|Sanitizer" "$WORK/start.log" || fail "$mode: $(cat "$WORK/start.log")"
  done
done

# scale_ignored NAME VALUE...: "quorl s" with the variables set (Xft.dpi is
# set on the display) says once that the scale is ignored, covers the screen
# as at scale 1, and ends at a key with status 0.
scale_ignored() {
  local name=$1 pid
  "${@:2}" "$QUORL" s >"$WORK/scale.log" 2>&1 &
  pid=$!
  sleep 2.5
  e2e_screenshot "$WORK/scale.png"
  kill -0 "$pid" 2>/dev/null || fail "$*: the saver ended by itself: $(cat "$WORK/scale.log")"
  e2e_check_saver_layout "$WORK/scale.png"
  [ "$(grep -c "^quorl: $name=.* is no scale from 0.25 to 16" "$WORK/scale.log")" -eq 1 ] ||
    fail "$*: not told once: $(cat "$WORK/scale.log")"
  xdotool key a
  e2e_wait_exit "$pid" 2 || fail "$*: status $? after a key"
}

echo "- unusable scales are ignored with one line"
for value in -1 0 nan inf 1e6; do
  scale_ignored QT_SCALE_FACTOR env QT_SCALE_FACTOR=$value
done
scale_ignored QT_SCREEN_SCALE_FACTORS env "QT_SCREEN_SCALE_FACTORS=1;-1"
for dpi in 2 1000000; do
  echo "Xft.dpi: $dpi" | xrdb -merge
  scale_ignored Xft.dpi env
done
echo "PASS"
