#!/usr/bin/env bash
# Photos in a folder named by the picture list: a JPEG stored on its side
# (EXIF orientation 6), a PNG twice the screen's width, a WebP and a HEIC,
# each shown in turn, upright, fitted, centred on the back colour. And a key
# ends the saver at once while a 50-megapixel JPEG is being decoded.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
e2e_start_xvfb 640x480

sys="$QUORL_WINDOWS_DIR/system"
pics="$WORK/photos"
mkdir -p "$pics/sub"
printf 'a\r\n' >"$sys/fives.txt"
printf 'b\r\n' >"$sys/sevens.txt"
mkdir -p "$XDG_CONFIG_HOME/Zovex Screen Savers"
printf '[quorl]\nBackColor=65280\nDelay=1\nGIFDelay=1\n' >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"
printf '%s\r\n' "$pics" >"$sys/GIFList.txt"

e2e_sideways_jpeg "$pics/1-side.jpg"
convert -size 1280x200 xc:yellow "$pics/2-wide.png"
convert -size 100x100 xc:magenta -define webp:lossless=true "$pics/sub/3.webp"
convert -size 100x100 xc:white -quality 95 "$pics/sub/4.heic"
printf 'not a picture' >"$pics/5-notes.txt"
touch "$pics/.hidden.jpg"

echo "- each picture of the folder in turn: upright, fitted, centred on the back colour"
"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
# JPEG: 200 x 300 at (220, 90).
e2e_wait_for_pixels side 320 100 255,0,0 320 380 0,0,255 225 95 255,0,0 215 240 back 425 240 back 320 85 back
# PNG: 1280 x 200 shrunk to 640 x 100 at (0, 190).
e2e_wait_for_pixels wide 0 195 255,255,0 639 285 255,255,0 5 185 back 5 295 back
# WebP: 100 x 100 at 1:1, at (270, 190).
e2e_wait_for_pixels webp 272 192 255,0,255 367 287 255,0,255 267 192 back 372 287 back
# HEIC: the same place.
e2e_wait_for_pixels heic 272 192 255,255,255 367 287 255,255,255 267 192 back 372 287 back
xdotool key a
e2e_wait_exit "$pid" 1 || fail "status $? after a key"

echo "- a key ends the saver while a 50-megapixel JPEG decodes"
convert -size 8660x5774 gradient:red-blue -quality 90 "$WORK/big.jpg"
printf '%s\r\n' "$WORK/big.jpg" >"$sys/GIFList.txt"
printf '[quorl]\nBackColor=65280\nDelay=1\nGIFDelay=1\n' >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"
"$QUORL" s >"$WORK/big.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
sleep 2.3  # the first decode is done; another starts every second
xdotool key a
start=$(date +%s%N)
e2e_wait_exit "$pid" 1 || fail "status $? after a key"
elapsed=$((($(date +%s%N) - start) / 1000000))
echo "  ended ${elapsed} ms after the key"
echo "PASS"
