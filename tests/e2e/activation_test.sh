#!/usr/bin/env bash
# With a window manager, a window that takes the focus away from the saver
# ends it.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 800x600
command -v openbox >/dev/null || fail "openbox is not installed"
openbox >"$WORK/openbox.log" 2>&1 &
E2E_PIDS+=($!)
sleep 1

"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
xlogo -geometry 200x100+10+10 &
E2E_PIDS+=($!)
e2e_wait_exit "$pid" 5 || fail "status $? after losing the focus"
echo "PASS"
