#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of its own, on the
# display scripts/test-windows.sh set up: a silent install puts quorl.scr,
# the verse files, picture list and pictures in place without replacing the
# user's own, makes Quorl the current saver, and /s then shows a verse and a
# picture on each monitor with no settings at all, and follows a monitor's
# change of mode; the silent uninstall takes back what was added and leaves
# the user's files alone.
INSTALLER=$1 WORK=$2 SET_DISPLAY_MODE=$3
QUORL=$INSTALLER
source "$QUORL_SOURCE_DIR/tests/e2e/lib.sh"
: "${DISPLAY:?run me through scripts/test-windows.sh}"
unset QUORL_WINDOWS_DIR  # the prefix's own Windows directory, as installed

# Two monitors where Wine can see them: Wine takes its monitors from the X
# server's RandR outputs, so Xvfb (one output, whatever monitors are set on
# it) is one monitor to Wine, while Xorg's dummy driver gives two.
monitors=1
if [ "$(id -u)" -eq 0 ]; then
  e2e_start_xorg_dummy
  # Wine's desktop takes the monitors once, as it starts: the second output
  # must be in place by then.
  for _ in $(seq 50); do
    xrandr --listmonitors | grep -q "^Monitors: 2" && break
    sleep 0.1
  done
  monitors=2
fi

export WINEPREFIX="$WORK/prefix"
trap 'wineserver -k 2>/dev/null || true; e2e_cleanup' EXIT
wine wineboot -i </dev/null >"$WORK/wineboot.log" 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
c="$WINEPREFIX/drive_c"
sys="$c/windows/system"
mkdir -p "$sys"
# The user's own verse file, there before the installer.
printf 'a line of my own\r\n' >"$sys/sevens.txt"

echo "- a silent install puts the files in place"
wine "$INSTALLER" /S </dev/null >"$WORK/install.log" 2>&1 || fail "installer status $?"
wineserver -w
for f in windows/system32/quorl.scr "Program Files/Quorl/uninstall.exe" windows/system/fives.txt \
         windows/system/GIFList.txt windows/system/dusk.gif windows/system/hills.gif windows/system/snow.gif \
         windows/system/autumn.gif; do
  [ -s "$c/$f" ] || fail "$f not installed"
done
grep -q "^a line of my own" "$sys/sevens.txt" || fail "the user's sevens.txt was replaced"
reg() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
uninst='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorl'
[ "$(reg "$uninst" DisplayName)" = "Quorl" ] || fail "no uninstaller under Apps"

echo "- Quorl is the current saver"
[ "$(reg 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\system32\quorl.scr' ] ||
  fail "SCRNSAVE.EXE is '$(reg 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)'"
[ "$(reg 'HKCU\Control Panel\Desktop' ScreenSaveActive)" = 1 ] || fail "ScreenSaveActive not set"

echo "- /s shows a verse of the installed files and a picture on each of $monitors monitor(s), with no settings"
wine reg query 'HKCU\Software\Zovex Screen Savers' >/dev/null 2>&1 && fail "settings before the first run"
wine 'C:\windows\system32\quorl.scr' /s >"$WORK/saver.log" 2>&1 &
pid=$!
E2E_PIDS+=("$pid")
# The verse is cyan on its shaded box, centred across each monitor; the
# notice lines would be wider than any line of the installed files.
verse_on() {
  local text
  text=$(convert "$WORK/saver.png" -crop "1024x768+$1+0" +repage -fill black +opaque "rgb(0,255,255)" -format "%@" info:)
  [[ $text =~ ^([0-9]+)x([0-9]+)\+([0-9]+) ]] && [ "${BASH_REMATCH[2]}" -gt 40 ]
}
for _ in $(seq 40); do
  sleep 0.25
  e2e_screenshot "$WORK/saver.png"
  verse_on 0 && verse_on $((1024 * (monitors - 1))) && break
done
for ((m = 0; m < monitors; m++)); do
  verse_on $((1024 * m)) || fail "no verse on monitor $m"
  width=${BASH_REMATCH[1]} centre=$((BASH_REMATCH[3] * 2 + BASH_REMATCH[1]))
  [ "$width" -gt 100 ] && [ "$width" -lt 600 ] || fail "verse text ${width} pixels wide on monitor $m: the notice?"
  [ "$centre" -ge 1016 ] && [ "$centre" -le 1032 ] || fail "verse not centred on monitor $m: $((centre / 2))"
  colours=$(convert "$WORK/saver.png" -crop "1024x768+$((1024 * m))+0" -format %k info:)
  [ "$colours" -gt 50 ] || fail "only $colours colours on monitor $m: no picture"
done
# A click on the last monitor ends them all.
xdotool mousemove $((1024 * monitors - 300)) 300 click 1
e2e_wait_exit "$pid" 5 || fail "status $? after a click"

if [ "$monitors" = 2 ]; then
  echo "- a monitor's new mode gets a window of its new size"
  saver_windows() { xwininfo -root -tree | grep -c "\"quorl.scr\").*$1"; }
  wine 'C:\windows\system32\quorl.scr' /s >"$WORK/saver-2.log" 2>&1 &
  pid=$!
  E2E_PIDS+=("$pid")
  for _ in $(seq 100); do [ "$(saver_windows 1024x768)" = 2 ] && break; sleep 0.1; done
  wine "$SET_DISPLAY_MODE" '\\.\DISPLAY2' 800 600 >"$WORK/mode.log" 2>&1 || fail "no mode change: $(cat "$WORK/mode.log")"
  # Xorg moves the pointer as the screen shrinks, which may end the saver
  # as soon as the new window is up: only the window is looked for.
  for _ in $(seq 50); do [ "$(saver_windows 800x600+1024+0)" = 1 ] && break; sleep 0.1; done
  [ "$(saver_windows 800x600+1024+0)" = 1 ] || fail "no window over the changed monitor"
  xdotool mousemove 300 300 click 1
  e2e_wait_exit "$pid" 5 || fail "status $? after a click"
fi

echo "- the uninstaller takes back what was added, and only that"
printf 'a line I wrote\r\n' >>"$sys/fives.txt"  # the user's now
touch -d '2001-01-01' "$sys/fives.txt"
wine 'C:\Program Files\Quorl\uninstall.exe' /S </dev/null >"$WORK/uninstall.log" 2>&1
# It runs from a copy of itself in a temporary folder.
for _ in $(seq 40); do
  [ -e "$c/Program Files/Quorl" ] || break
  sleep 0.25
done
wineserver -w
for f in windows/system32/quorl.scr "Program Files/Quorl" windows/system/GIFList.txt windows/system/dusk.gif \
         windows/system/hills.gif windows/system/snow.gif windows/system/autumn.gif; do
  [ ! -e "$c/$f" ] || fail "$f left behind"
done
grep -q "^a line of my own" "$sys/sevens.txt" || fail "the user's sevens.txt went"
grep -q "^a line I wrote" "$sys/fives.txt" || fail "the fives.txt the user changed went"
[ -z "$(reg 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still set"
wine reg query "$uninst" >/dev/null 2>&1 && fail "the Apps entry is still there"
# The prefix is large; one that failed stays for a look.
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
echo "PASS"
