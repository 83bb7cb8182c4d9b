#!/usr/bin/env bash
# quorl.scr under Wine, on the display and in the Wine prefix that
# scripts/test-windows.sh prepared: full screen with the picture centred and
# the verse box where the layout puts it (the numbers of the Linux tests),
# ending at a key with status 0; at 144 dots per inch, drawn at that scale.
QUORL=$1 WORK=$2
source "$QUORL_SOURCE_DIR/tests/e2e/lib.sh"
: "${WINEPREFIX:?run me through scripts/test-windows.sh}"

# The program's own Windows directory in the prefix, and its registry key.
mkdir -p "$WINEPREFIX/drive_c/windows/system"
QUORL_WINDOWS_DIR="$WINEPREFIX/drive_c/windows" e2e_known_saver_data
unset QUORL_WINDOWS_DIR
key='HKCU\Software\Zovex Screen Savers\quorl\quorl'
wine reg delete 'HKCU\Software\Zovex Screen Savers' /f >/dev/null 2>&1 || true
wine reg add "$key" /v FillColor /t REG_SZ /d 255 /f >/dev/null 2>&1
wine reg add "$key" /v BackColor /t REG_SZ /d 65280 /f >/dev/null 2>&1

echo "- full screen: picture centred, verse box shaded"
wine "$QUORL" /s >"$WORK/saver.log" 2>&1 &
pid=$!
e2e_wait_for_pixel "$WORK/saver.png" 372 361 "255,0,0"
e2e_check_saver_layout "$WORK/saver.png"

echo "- a key ends it with status 0"
xdotool key a
e2e_wait_exit "$pid" 3 || fail "status $? after a key"

echo "- at 144 dots per inch the verse is drawn at 1.5 times its size, not stretched"
# Wine treats every program as aware of each monitor's scale, so only the
# file itself shows that Windows will too.
grep -q "<dpiAwareness[^>]*>PerMonitorV2" "$QUORL" || fail "no per-monitor DPI awareness in the manifest"
desktop='HKCU\Control Panel\Desktop'
trap 'wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true; e2e_cleanup' EXIT
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wine "$QUORL" /s >"$WORK/saver-144.log" 2>&1 &
pid=$!
# A cell of 38 (25 x 1.5) and margins of 15: the box is 3 x 38 + 2 x 15 =
# 144 high, around the twenty-character line's 20 x 20 pixels, centred.
e2e_wait_for_pixel "$WORK/saver-144.png" 297 350 "255,0,0"
box=$(convert "$WORK/saver-144.png" -fill black +opaque "rgb(255,0,0)" -format "%@" info:)
[ "$box" = "430x144+297+350" ] || fail "verse box $box at 144 dots per inch"
# The shading is a checkerboard of single device pixels: a stretched
# bitmap would smear it.
[ "$(e2e_pixel "$WORK/saver-144.png" 298 350)" != "255,0,0" ] && [ "$(e2e_pixel "$WORK/saver-144.png" 299 350)" = "255,0,0" ] &&
  [ "$(e2e_pixel "$WORK/saver-144.png" 298 351)" = "255,0,0" ] || fail "the shading is not single pixels"
xdotool key a
e2e_wait_exit "$pid" 3 || fail "status $? after a key"
wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1

echo "- a JPEG stored on its side, then a PNG twice the screen's width, through the system's codecs"
sys="$WINEPREFIX/drive_c/windows/system"
e2e_sideways_jpeg "$sys/side.jpg"
convert -size 2048x100 xc:yellow "$sys/wide.png"
printf 'side.jpg\r\nwide.png\r\n' >"$sys/GIFList.txt"
# A new picture reaches the screen with the next verse.
wine reg add "$key" /v Delay /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$key" /v GIFDelay /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine "$QUORL" /s >"$WORK/photos.log" 2>&1 &
pid=$!
# Upright, 200 x 300 at (412, 234): red above, blue below, centred.
e2e_wait_for_pixels side 512 250 255,0,0 512 520 0,0,255 415 237 255,0,0 512 230 back 408 300 back 616 300 back
# Shrunk to 1024 x 50 at (0, 359).
e2e_wait_for_pixels wide 2 361 255,255,0 1021 406 255,255,0 5 355 back 5 412 back
xdotool key a
e2e_wait_exit "$pid" 3 || fail "status $? after a key"

echo "- a preview handle that is no window ends quietly with a failure"
status=0
wine "$QUORL" /p 12345 >"$WORK/bad-preview.log" 2>&1 & pid=$!
e2e_wait_exit "$pid" 5 || status=$?
[ "$status" -ne 0 ] || fail "/p 12345 reported success"
echo "PASS"
