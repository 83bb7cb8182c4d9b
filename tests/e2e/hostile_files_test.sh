#!/usr/bin/env bash
# Files a careless or hostile user may leave: named pipes where the saver's
# files belong, a settings folder that cannot be written, a picture that is
# gigabytes of nothing. None may block the program or lose a setting.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768

sys="$QUORL_WINDOWS_DIR/system"
store_dir="$XDG_CONFIG_HOME/Zovex Screen Savers"
mkdir -p "$store_dir"

# saver_ends_at_a_key: "quorl s" shows and takes the keyboard, then a key
# ends it with status 0 within a second.
saver_ends_at_a_key() {
  "$QUORL" s >>"$WORK/saver.log" 2>&1 &
  local pid=$!
  e2e_wait_pid_focus "$pid"
  kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself: $(cat "$WORK/saver.log")"
  xdotool key a
  e2e_wait_exit "$pid" 1 || fail "status $? after a key"
}

echo "- named pipes in place of the line files, the picture list and the settings"
for f in "$sys/fives.txt" "$sys/sevens.txt" "$sys/GIFList.txt" "$store_dir/quorl.conf"; do mkfifo "$f"; done
saver_ends_at_a_key
rm -f "$sys"/* "$store_dir/quorl.conf"

echo "- a picture of 2 GB of nothing behind a GIF header, first in the list"
{ printf 'GIF89a\x01\x00\x01\x00\x00\x00\x00'; } >"$WORK/empty.gif"
truncate -s 2G "$WORK/empty.gif"
cp "$QUORL_SOURCE_DIR/data/dusk.gif" "$sys/"
printf '%s\r\ndusk.gif\r\n' "$WORK/empty.gif" >"$sys/GIFList.txt"
printf '[quorl]\nGIFDelay=1\n' >"$store_dir/quorl.conf"
saver_ends_at_a_key

# refused_save LOG [RUNNER...]: "quorl c" (started through RUNNER), OK, then
# the message that the settings could not be saved, closed; status 1 and the
# store as it was.
refused_save() {
  local log=$1 status=0
  shift
  cp "$store_dir/quorl.conf" "$WORK/before.conf"
  "$@" "$QUORL" c >"$log" 2>&1 &
  pid=$!
  E2E_PIDS+=($pid)
  e2e_wait_focus "$(e2e_wait_window "Quorl Configuration")"
  xdotool key Return  # OK
  e2e_wait_window "quorl" >/dev/null
  xdotool key Return  # closes the message
  e2e_wait_exit "$pid" 20 || status=$?
  [ "$status" -eq 1 ] || fail "quorl c ended with status $status: $(cat "$log")"
  cmp -s "$store_dir/quorl.conf" "$WORK/before.conf" || fail "the stored settings changed: $(cat "$store_dir/quorl.conf")"
}

echo "- a settings file of random bytes: told once, naming it, status 1, never rewritten"
head -c 4096 /dev/urandom >"$store_dir/quorl.conf"
refused_save "$WORK/noise.log"
[ "$(grep -c "cannot be read as settings" "$WORK/noise.log")" -eq 1 ] && grep -qF "$store_dir/quorl.conf" "$WORK/noise.log" ||
  fail "not told once: $(cat "$WORK/noise.log")"

echo "- a settings folder that cannot be written: told, status 1, the stored settings kept"
printf '[quorl]\nDelay=9\n' >"$store_dir/quorl.conf"
chmod 755 "$WORK" "$XDG_CONFIG_HOME" "$store_dir"
chmod 644 "$store_dir/quorl.conf"
mkdir -p "$WORK/nobody-runtime" && chown nobody "$WORK/nobody-runtime" && chmod 700 "$WORK/nobody-runtime"
refused_save "$WORK/config.log" env XDG_RUNTIME_DIR="$WORK/nobody-runtime" setpriv --reuid=nobody --regid=nogroup --clear-groups
echo "PASS"
