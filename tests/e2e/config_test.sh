#!/usr/bin/env bash
# "quorl c" under a real X server: the configuration dialog shows, is worked
# from the keyboard alone, and its settings reach the store.
QUORL=$1
WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 1024x768

STORE="$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"

# 1. The dialog shows, centred; Tab reaches the verse timer (OK, Cancel,
#    Font..., GIF Backgrounds..., then the field); a typed delay and Enter
#    store everything, into a file the user edited, whose own lines stay.
mkdir -p "$(dirname "$STORE")"
printf '\xEF\xBB\xBF; mine\n[quorl]\nDelay=5\n\n[other]\nkey=value\n# end\n' >"$STORE"
"$QUORL" c >"$WORK/run1.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
dialog=$(e2e_wait_window "Quorl Configuration")
e2e_wait_focus "$dialog"
e2e_screenshot "$WORK/config.png"
# The dialog's face, not the black root window, is in the screen's middle.
[ "$(e2e_pixel "$WORK/config.png" 512 384)" != "0,0,0" ] || fail "no dialog in the middle of the screen"
xdotool key Tab Tab Tab Tab
xdotool type 7
xdotool key Return
e2e_wait_exit "$pid" 20 || fail "quorl c ended with status $?"
printf '\xEF\xBB\xBF; mine\n[quorl]\nDelay=7\nFontSize=25\nGIFDelay=15\nFontName=Courier New\nFontColor=16776960\nFillColor=0\nBackColor=0\n\n[other]\nkey=value\n# end\n' >"$WORK/expected.conf"
cmp -s "$STORE" "$WORK/expected.conf" || fail "the store is not as expected: $(cat -A "$STORE")"

# 2. An out-of-range delay is refused with a warning box titled with the
#    program's name; Escape then cancels, and the typed delay is not kept.
"$QUORL" c >"$WORK/run2.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
dialog=$(e2e_wait_window "Quorl Configuration")
e2e_wait_focus "$dialog"
xdotool key Tab Tab Tab Tab
xdotool type 61
xdotool key Return
e2e_wait_focus "$(e2e_wait_window "quorl")"
e2e_screenshot "$WORK/refused.png"
xdotool key Return   # closes the warning
e2e_wait_focus "$dialog"
xdotool key Escape   # cancels the dialog
e2e_wait_exit "$pid" 20 || fail "quorl c ended with status $?"
grep -qx "Delay=7" "$STORE" || fail "cancelled delay was stored: $(cat "$STORE")"

# 3. As a host or a fresh login runs it (no XDG_* at all): a start that
#    opens the picture list and its file picker and cancels them all says
#    nothing on stderr and leaves no file in the home folder outside the
#    program's own settings and data folders.
home3="$WORK/home3"
rm -rf "$home3" && mkdir -p "$home3"
env -u XDG_CONFIG_HOME -u QUORL_WINDOWS_DIR -u XDG_RUNTIME_DIR -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home3" \
  "$QUORL" c >"$WORK/run3.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
e2e_wait_window "Quorl Configuration" >/dev/null
sleep 0.5
xdotool key Tab Tab Tab space      # GIF Backgrounds...
e2e_wait_window "GIF List" >/dev/null
sleep 0.5
xdotool key Tab Tab Tab space      # Browse For GIF...
sleep 2
xdotool key Escape                 # the file picker
sleep 0.5
xdotool key Escape                 # the list
sleep 0.5
xdotool key Escape                 # the dialog
e2e_wait_exit "$pid" 20 || fail "quorl c ended with status $?"
[ ! -s "$WORK/run3.log" ] || fail "noise on stderr: $(cat "$WORK/run3.log")"
stray=$(cd "$home3" && find . -type f ! -path "./.config/Zovex Screen Savers/*" ! -path "./.local/share/quorl/*")
[ -z "$stray" ] || fail "files outside the program's own folders: $stray"

echo "screenshot: $WORK/config.png"
