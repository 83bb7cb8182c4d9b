#!/usr/bin/env bash
# Quorl as the only theme of the real mate-screensaver on a private session
# bus: activating it starts Quorl in MATE's window, where it draws the picture
# and the verse box; deactivating ends it within a second, leaving nothing.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts.sh"
trap 'hosts_stop; e2e_cleanup; rm -rf "${HOSTS_STAGE:-/nonexistent}"' EXIT
e2e_known_saver_data
e2e_start_xvfb 1024x768
hosts_stage "$QUORL" "$QUORL_WINDOWS_DIR" "$XDG_CONFIG_HOME"
hosts_mate_start

hosts_mate_command --activate >/dev/null
e2e_wait_for_pixel "$WORK/mate.png" 372 361 "255,0,0"
[ "$(hosts_saver_pids | wc -l)" -eq 1 ] || fail "one saver wanted, running: $(hosts_saver_pids | wc -l)"
e2e_check_saver_layout "$WORK/mate.png"

hosts_mate_command --deactivate >/dev/null
hosts_wait_saver_gone
[ -z "$(hosts_sanitizer_reports)" ] || fail "sanitizer reports: $(hosts_sanitizer_reports)"
echo "PASS"
