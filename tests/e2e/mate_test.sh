#!/usr/bin/env bash
# Quorl as the only theme of the real mate-screensaver on a private session
# bus, on two monitors (Xorg's dummy driver: MATE sees only monitors with
# outputs): activating it starts one Quorl per monitor in MATE's windows, each
# drawing the picture and the verse box; a monitor changing its mode redraws
# its saver at the new size; deactivating ends them within a second.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts.sh"
trap 'hosts_stop; e2e_cleanup; rm -rf "${HOSTS_STAGE:-/nonexistent}"' EXIT
e2e_known_saver_data
e2e_start_xorg_dummy
hosts_stage "$QUORL" "$QUORL_WINDOWS_DIR" "$XDG_CONFIG_HOME"
hosts_mate_start

hosts_mate_command --activate >/dev/null
for x in 0 1024; do e2e_wait_for_pixel "$WORK/mate.png" $((x + 372)) 361 "255,0,0"; done
[ "$(hosts_saver_pids | wc -l)" -eq 2 ] || fail "two savers wanted, running: $(hosts_saver_pids | wc -l)"
e2e_check_saver_layout "$WORK/mate.png" 0
e2e_check_saver_layout "$WORK/mate.png" 1024

# In 800 x 600 the verse box is 260..539 x 277..371.
xrandr --output DUMMY0 --mode 800x600
e2e_wait_for_pixel "$WORK/resized.png" 260 277 "255,0,0"
[ "$(e2e_pixel "$WORK/resized.png" 538 371)" = "255,0,0" ] || fail "box corner not shaded at 800 x 600"

hosts_mate_command --deactivate >/dev/null
hosts_wait_saver_gone
[ -z "$(hosts_sanitizer_reports)" ] || fail "sanitizer reports: $(hosts_sanitizer_reports)"
echo "PASS"
