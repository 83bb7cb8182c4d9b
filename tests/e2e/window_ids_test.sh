#!/usr/bin/env bash
# Window ids a host, or a user, may get wrong: each is refused with status 1
# and one line saying what was wrong. An unmapped window is accepted, since
# its host may map it later. A saver in a window of its own ends with status
# 0 when another program destroys that window.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 800x600

# refused TEXT ARGS...: "quorl ARGS" ends with status 1 and one line holding TEXT.
refused() {
  local text=$1 status=0
  shift
  timeout 30 "$QUORL" "$@" >"$WORK/refused.log" 2>&1 || status=$?
  [ "$status" -eq 1 ] || fail "$*: status $status: $(cat "$WORK/refused.log")"
  [ "$(wc -l <"$WORK/refused.log")" -eq 1 ] && grep -qF -- "$text" "$WORK/refused.log" ||
    fail "$*: not one line saying \"$text\": $(cat "$WORK/refused.log")"
}

# make_object KIND: an X object of another client's; its id in $object, the
# client's pid in $object_pid.
make_object() {
  rm -f "$WORK/object"
  "$QUORL_XOBJECT" "$1" >"$WORK/object" &
  object_pid=$!
  E2E_PIDS+=($object_pid)
  for _ in $(seq 100); do
    [ -s "$WORK/object" ] && break
    sleep 0.05
  done
  object=$(cat "$WORK/object")
  [ -n "$object" ] || fail "no $1 made"
}

echo "- ids that are no number, 0, the root window, a destroyed window, a pixmap, an input-only window"
refused '--window-id "0x12zz" is no window id' --window-id 0x12zz
refused '--window-id "0" is no window id' -window-id 0
XSCREENSAVER_WINDOW=none refused 'XSCREENSAVER_WINDOW "none" is no window id' --root
refused "is the root window" --window-id "$(xwininfo -root | awk '/Window id:/ {print $4}')"
make_object unmapped
kill "$object_pid"
wait "$object_pid" 2>/dev/null || true
refused "no window $(printf '0x%X' "$object") on the display" --window-id "$object"
make_object pixmap
refused "is a pixmap, not a window" --window-id "$object"
make_object input-only
refused "is an input-only window" --window-id "$object"

echo "- an unmapped window is accepted"
make_object unmapped
"$QUORL" --window-id "$object" >"$WORK/unmapped.log" 2>&1 &
pid=$!
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself: $(cat "$WORK/unmapped.log")"
kill -TERM "$pid"
e2e_wait_exit "$pid" 2 || fail "status $? after SIGTERM"

echo "- -window: another program destroying the saver's window ends it with status 0"
"$QUORL" -window >"$WORK/own.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
own=""
for _ in $(seq 100); do
  own=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) && [ -n "$own" ] && break
  sleep 0.1
done
[ -n "$own" ] || fail "no window of the saver"
"$QUORL_XOBJECT" destroy "$own" || fail "could not destroy the window"
e2e_wait_exit "$pid" 3 || fail "status $? after its window was destroyed: $(cat "$WORK/own.log")"
echo "PASS"
