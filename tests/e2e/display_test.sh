#!/usr/bin/env bash
# Displays that cannot be had or are lost: every mode says which display in
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

echo "- --help, -h and --version answer on standard output with status 0, with no display at all"
version=$(sed -n 's/^project(quorl VERSION \([0-9.]*\).*/\1/p' "$QUORL_SOURCE_DIR/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
for word in --help -h --version; do
  status=0; env -u DISPLAY "$QUORL" $word >"$WORK/info.out" 2>"$WORK/info.err" || status=$?
  [ "$status" -eq 0 ] && [ ! -s "$WORK/info.err" ] || fail "$word: status $status, stderr $(cat "$WORK/info.err")"
  case $word in
    --version) [ "$(cat "$WORK/info.out")" = "quorl $version" ] || fail "--version says $(cat "$WORK/info.out")" ;;
    *) grep -q '^Usage: quorl ' "$WORK/info.out" && grep -q -- '--window-id' "$WORK/info.out" ||
         fail "$word: no usage: $(cat "$WORK/info.out")" ;;
  esac
done

echo "- a display that cannot be opened, or none at all (a Wayland session without X)"
for mode in s "p 1234" c; do
  status=0; DISPLAY=":$dead" "$QUORL" $mode >"$WORK/dead.log" 2>&1 || status=$?
  check_failure $status "$WORK/dead.log" "\":$dead\""
  status=0; env -u DISPLAY WAYLAND_DISPLAY=wayland-0 "$QUORL" $mode >"$WORK/none.log" 2>&1 || status=$?
  check_failure $status "$WORK/none.log" "DISPLAY is not set"
done

echo "- a connection the X server breaks ends every mode with status 1"
e2e_start_xvfb 800x600
# run_then_break MODE...: the modes run, then the server drops each one's
# connection (as when it goes away) by killing the client of its window.
run_then_break() {
  local pids=() mode pid status
  for mode in "$@"; do
    "$QUORL" $mode >"$WORK/lost-${mode%% *}.log" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    xkill -id "$(e2e_wait_pid_window "$pid")" >/dev/null || fail "no window of process $pid"
    status=0; e2e_wait_exit "$pid" 10 || status=$?
    [ "$status" -eq 1 ] || fail "status $status after the connection broke: $(cat "$WORK"/lost-*.log)"
  done
}
# The saver alone: another program's window would take its activation.
run_then_break s
e2e_start_xlogo 200x100+500+50
run_then_break "p $((parent))" c
! grep -l "Sanitizer\|runtime error" "$WORK"/lost-*.log || fail "a sanitizer report after the connection broke"
echo "PASS"
