#!/usr/bin/env bash
# The real saver under Xvfb: full screen with the picture centred and the
# verse box where it belongs, ending at a key with status 0; switches that
# match nothing; the preview inside another program's window.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768

e2e_known_saver_data

echo "- full screen: picture centred, verse box shaded"
"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/saver.png" 372 361 "255,0,0"  # the first verse, with the picture
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
e2e_check_saver_layout "$WORK/saver.png"
e2e_wait_pid_focus "$pid"

echo "- a key ends it with status 0 within a second"
xdotool key a
e2e_wait_exit "$pid" 1 || fail "status $? after a key"

echo "- a move away from the first position ends it"
"$QUORL" s >>"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_pid_window "$pid" >/dev/null
# The first position the saver is told of is only remembered, and motions
# that arrive together may be told as one: move back and forth until it ends.
for i in $(seq 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool mousemove $((300 + i % 2)) 300
  sleep 0.05
done
e2e_wait_exit "$pid" 2 || fail "status $? after moving"

echo "- switches that match nothing end at once"
for arg in //s save /c:1234; do
  "$QUORL" "$arg" &
  e2e_wait_exit $! 5 || fail "'$arg' ended with status $?"
done

echo "- the preview draws the back colour inside its parent"
e2e_start_xlogo 300x200+600+50
"$QUORL" p "$((parent))" >"$WORK/preview.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/preview.png" 750 150 "0,255,0"
kill -0 "$pid" 2>/dev/null || fail "the preview ended by itself"
[ "$(e2e_pixel "$WORK/preview.png" 750 150)" = "0,255,0" ] || fail "preview not drawn: $(e2e_pixel "$WORK/preview.png" 750 150)"
[ "$(e2e_pixel "$WORK/preview.png" 20 20)" != "0,255,0" ] || fail "preview outside its parent"
echo "- closing the parent ends the preview"
kill "$parent_pid"
e2e_wait_exit "$pid" 5 || fail "preview status $? after its parent closed"

echo "- a preview handle that is no window ends quietly with a failure"
status=0
"$QUORL" p 12345 >"$WORK/bad-preview.log" 2>&1 & pid=$!
e2e_wait_exit "$pid" 5 || status=$?
[ "$status" -ne 0 ] || fail "p 12345 reported success"
echo "PASS"
