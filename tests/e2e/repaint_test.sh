#!/usr/bin/env bash
# After verse steps, what reached the X server equals a full repaint of the
# saver's window, byte for byte. A step sends only the areas it changed, so a
# row or a column left out of them stays stale on the screen although the
# framebuffer is right. Small boxes of changing sizes over pictures larger
# and smaller than the window; full screen and in another program's window,
# each at scales 1 and 2.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768

sys=$QUORL_WINDOWS_DIR/system
# A verse's two outer lines never repeat the previous verse's, so with four
# of them each box has another width than the one before, and the old box
# and the new one differ at their edges.
printf 'abc\r\ndefghijkl\r\nmnopqrstuvwxyzabc\r\ndefghijklmnopqrstuvwxyzabc\r\n' >"$sys/fives.txt"
printf 'x\r\nyz\r\n' >"$sys/sevens.txt"
cp "$QUORL_SOURCE_DIR/data/dusk.gif" "$sys/"
convert -seed 7 -size 1031x797 plasma: "$sys/large.gif"
convert -seed 9 -size 97x61 plasma: "$sys/small.gif"
# A step every two seconds; one picture for the whole run.
delay=2
mkdir -p "$XDG_CONFIG_HOME/Zovex Screen Savers"
printf '[quorl]\nFontSize=9\nFillColor=255\nBackColor=65280\nDelay=%s\nGIFDelay=100000\n' "$delay" \
  >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"

# shot FILE: the pixels of $window as the X server holds them.
shot() { xwd -silent -id "$window" >"$1"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# next_step: waits until $window differs from now.xwd, then until two shots
# in a row agree (the whole step is out); that state goes to now.xwd, and
# the time of the last shot before the change to $before_step.
next_step() {
  local deadline=$((SECONDS + 2 * delay + 20))
  before_step=$(now_ms)
  while shot "$WORK/next.xwd"; cmp -s "$WORK/now.xwd" "$WORK/next.xwd"; do
    [ $SECONDS -lt $deadline ] || fail "no verse step within $((2 * delay + 20)) s"
    before_step=$(now_ms)
    sleep 0.02
  done
  until shot "$WORK/now.xwd"; cmp -s "$WORK/now.xwd" "$WORK/next.xwd"; do
    mv "$WORK/now.xwd" "$WORK/next.xwd"
  done
}

# magenta FILE: 1 when a pixel of FILE is magenta, else 0.
magenta() { convert "$1" -fill black +opaque magenta -format '%[fx:maxima.r]' info:; }

# check_repaint WHAT: after each of three verse steps, the window equals its
# full repaint. xrefresh covers the screen with magenta and uncovers it, so
# the saver repaints its whole window from its framebuffer; no magenta left
# means the repaint is out. A check that outlasts half a step period may
# have a step inside it: it does not count. The first two changes are the
# start-up's (the back colour, the first verse), and the first step repaints
# the whole surround: the steps after it damage only the verse boxes.
check_repaint() {
  local checked=0 deadline
  next_step
  next_step
  for _ in 1 2 3 4 5 6; do
    next_step
    xrefresh -solid magenta
    deadline=$((SECONDS + 10))
    until shot "$WORK/repaint.xwd"; [ "$(magenta "$WORK/repaint.xwd")" = 0 ]; do
      [ $SECONDS -lt $deadline ] || fail "$1: the window was not repainted after an expose"
      sleep 0.02
    done
    if [ $(($(now_ms) - before_step)) -lt $((delay * 500)) ]; then
      cmp -s "$WORK/now.xwd" "$WORK/repaint.xwd" ||
        fail "$1: the screen after a verse step is not its full repaint: $(compare -metric AE "$WORK/now.xwd" \
          "$WORK/repaint.xwd" null: 2>&1 || true) pixels differ, within $(convert "$WORK/now.xwd" \
          "$WORK/repaint.xwd" -compose difference -composite -trim -format '%wx%h%O' info:) (see $WORK/*.xwd)"
      [ $((++checked)) -lt 3 ] || return 0
    else
      echo "  (a check outlasted half a step period: not counted)"
    fi
    cp "$WORK/repaint.xwd" "$WORK/now.xwd"
  done
  fail "$1: most checks outlasted half a step period"
}

# run_saver WHAT PICTURE COMMAND...: the saver showing PICTURE, checked.
run_saver() {
  local what=$1
  echo "- $what"
  printf '%s\r\n' "$2" >"$sys/GIFList.txt"
  shift 2
  shot "$WORK/now.xwd"
  "$@" >>"$WORK/saver.log" 2>&1 &
  local pid=$!
  check_repaint "$what"
  kill "$pid"
  e2e_wait_exit "$pid" 5 || fail "$what: status $? after SIGTERM"
}

window=$(xwininfo -root | awk '/Window id:/ {print $4}')
run_saver "full screen, a picture inside the screen" dusk.gif "$QUORL" s
run_saver "full screen, a picture smaller than the verse box" small.gif "$QUORL" s
# The picture doubled is larger than the screen.
QT_SCALE_FACTOR=2 run_saver "full screen at scale 2" dusk.gif "$QUORL" s

# At scale 2 a damaged area whose edge falls between two layout pixels is
# widened to the next one, which hides a last row left out: the boxes end on
# an odd row in the full screen and on an even one in this window.
e2e_start_xlogo 641x482+0+0
window=$parent
run_saver "in another program's window of odd size, a picture larger" large.gif "$QUORL" --window-id "$parent"
QT_SCALE_FACTOR=2 run_saver "in another program's window at scale 2" small.gif "$QUORL" --window-id "$parent"
echo "PASS"
