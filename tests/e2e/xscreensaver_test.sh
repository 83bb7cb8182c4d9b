#!/usr/bin/env bash
# Quorl as the only saver of the real XScreenSaver daemon: blanking starts it
# in the daemon's window, where it draws the picture and the verse box as the
# full-screen saver does; unblanking ends it within a second, leaving nothing
# behind. With two monitors, one copy per monitor, both drawing.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts.sh"
trap 'hosts_stop; e2e_cleanup; rm -rf "${HOSTS_STAGE:-/nonexistent}"' EXIT
e2e_known_saver_data

# blank_and_check SHOT X...: blanks, waits for one saver per monitor origin X
# (each 1024 x 768 at y = 0) to draw, checks each, unblanks.
blank_and_check() {
  local shot=$1 _ x
  shift
  hosts_xscreensaver_command -activate >/dev/null
  for _ in $(seq 50); do
    [ "$(hosts_saver_pids | wc -l)" -eq $# ] && break
    sleep 0.1
  done
  [ "$(hosts_saver_pids | wc -l)" -eq $# ] || fail "$# savers wanted, running: $(hosts_saver_pids | wc -l)"
  for x in "$@"; do e2e_wait_for_pixel "$shot" $((x + 372)) 361 "255,0,0"; done
  for x in "$@"; do e2e_check_saver_layout "$shot" "$x"; done
  hosts_xscreensaver_command -deactivate >/dev/null
  hosts_wait_saver_gone
  [ -z "$(pgrep -u 65534 -x dbus-launch)" ] || fail "a D-Bus daemon was started and left behind"
  [ -z "$(hosts_sanitizer_reports)" ] || fail "sanitizer reports: $(hosts_sanitizer_reports)"
}

echo "- one monitor"
e2e_start_xvfb 1024x768
hosts_stage "$QUORL" "$QUORL_WINDOWS_DIR" "$XDG_CONFIG_HOME"
hosts_xscreensaver_start
blank_and_check "$WORK/one.png" 0
hosts_stop

echo "- two monitors: one copy each, both draw"
e2e_cleanup
e2e_start_two_monitors
hosts_xscreensaver_start
blank_and_check "$WORK/two.png" 0 1024
echo "PASS"
