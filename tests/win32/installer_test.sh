#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of its own, on the
# display scripts/test-windows.sh set up: a silent install puts quorl.scr,
# the verse files, picture list and pictures in place without replacing the
# user's own, makes Quorl the current saver, and /s then shows a verse and a
# picture with no settings at all; the silent uninstall takes back what was
# added and leaves the user's files alone.
INSTALLER=$1 WORK=$2
QUORL=$INSTALLER
source "$QUORL_SOURCE_DIR/tests/e2e/lib.sh"
: "${DISPLAY:?run me through scripts/test-windows.sh}"
unset QUORL_WINDOWS_DIR  # the prefix's own Windows directory, as installed

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

echo "- /s shows a verse of the installed files and a picture, with no settings"
wine reg query 'HKCU\Software\Zovex Screen Savers' >/dev/null 2>&1 && fail "settings before the first run"
wine 'C:\windows\system32\quorl.scr' /s >"$WORK/saver.log" 2>&1 &
pid=$!
E2E_PIDS+=("$pid")
# The verse is cyan on its shaded box; the notice lines would be wider than
# any line of the installed files.
for _ in $(seq 40); do
  sleep 0.25
  e2e_screenshot "$WORK/saver.png"
  text=$(convert "$WORK/saver.png" -fill black +opaque "rgb(0,255,255)" -format "%@" info:)
  [[ $text =~ ^([0-9]+)x([0-9]+) ]] && [ "${BASH_REMATCH[2]}" -gt 40 ] && break
done
[[ $text =~ ^([0-9]+)x([0-9]+) ]] || fail "no verse drawn"
width=${BASH_REMATCH[1]}
[ "$width" -gt 100 ] && [ "$width" -lt 600 ] || fail "verse text ${width} pixels wide: the notice lines?"
colours=$(convert "$WORK/saver.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "only $colours colours on screen: no picture"
xdotool key a
e2e_wait_exit "$pid" 5 || fail "status $? after a key"

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
