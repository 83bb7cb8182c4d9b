#!/usr/bin/env bash
# Displays that cannot be had or go away: every mode says which display in
# one line and ends with status 1, never with a crash.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"

dead=90
while [ -e "/tmp/.X11-unix/X$dead" ]; do dead=$((dead + 1)); done

# check_failure STATUS LOG TEXT: the status is 1 and LOG is one line naming TEXT.
check_failure() {
  local status=$1 log=$2 text=$3
  [ "$status" -eq 1 ] || fail "status $status, not 1: $(cat "$log")"
  [ "$(wc -l <"$log")" -eq 1 ] && grep -qF -- "$text" "$log" || fail "not one line naming $text: $(cat "$log")"
}

echo "- a display that cannot be opened, or none at all (a Wayland session without X)"
for mode in s "p 1234" c; do
  status=0; DISPLAY=":$dead" "$QUORL" $mode >"$WORK/dead.log" 2>&1 || status=$?
  check_failure $status "$WORK/dead.log" "\":$dead\""
  status=0; env -u DISPLAY WAYLAND_DISPLAY=wayland-0 "$QUORL" $mode >"$WORK/none.log" 2>&1 || status=$?
  check_failure $status "$WORK/none.log" "DISPLAY is not set"
done

echo "- the X server going away ends every mode with status 1"
# run_then_lose_display MODE...: the modes run on a fresh server, which is
# then killed without an orderly close-down, so the connections just break.
run_then_lose_display() {
  local pids=() mode status
  for mode in "$@"; do
    "$QUORL" $mode >"$WORK/lost-${mode%% *}.log" 2>&1 &
    pids+=($!)
  done
  sleep 2
  kill -KILL "$server"
  for pid in "${pids[@]}"; do
    status=0; e2e_wait_exit "$pid" 10 || status=$?
    [ "$status" -eq 1 ] || fail "status $status after the server went: $(cat "$WORK"/lost-*.log)"
  done
}
# The saver alone: another program's window would take its activation.
e2e_start_xvfb 800x600; server=${E2E_PIDS[-1]}
run_then_lose_display s
e2e_start_xvfb 800x600; server=${E2E_PIDS[-1]}
xlogo -geometry 200x100+500+50 &
parent=""
for _ in $(seq 50); do
  parent=$(xwininfo -name xlogo 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$parent" ] && break
  sleep 0.1
done
[ -n "$parent" ] || fail "no xlogo window"
run_then_lose_display "p $((parent))" c
! grep -l "Sanitizer\|runtime error" "$WORK"/lost-*.log || fail "a sanitizer report after the server went"
echo "PASS"
