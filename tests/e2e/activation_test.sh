#!/usr/bin/env bash
# With a window manager, a window that takes the focus away from the saver
# ends it.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 800x600
command -v openbox >/dev/null || fail "openbox is not installed"
openbox >"$WORK/openbox.log" 2>&1 &
E2E_PIDS+=($!)
# The window manager is up once it names its check window on the root.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_pid_focus "$pid"
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
xlogo -geometry 200x100+10+10 &
E2E_PIDS+=($!)
e2e_wait_exit "$pid" 5 || fail "status $? after losing the focus"
echo "PASS"
