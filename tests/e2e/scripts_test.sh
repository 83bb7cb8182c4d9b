#!/usr/bin/env bash
# A verse of Japanese, Arabic (with a number) and Latin lines under Xvfb, in
# the default font, which has neither Japanese nor Arabic letters: every
# line is centred as a whole and the shaded box fits the widest shaped line.
QUORL=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
# The fonts the unit tests use, so no other installed font changes this.
export FONTCONFIG_FILE=$QUORL_TEST_FONTS_CONF
e2e_start_xvfb 1024x768

sys="$QUORL_WINDOWS_DIR/system"
# A byte-order mark as some editors write; no pictures, so the box sits on
# the plain back colour.
printf '\xef\xbb\xbf古池や蛙飛び込む\r\nAn old silent pond\r\n' >"$sys/fives.txt"
printf 'سنة ٢٠٢٤ في 12 بيت\r\n' >"$sys/sevens.txt"
mkdir -p "$XDG_CONFIG_HOME/Zovex Screen Savers"
printf '[quorl]\nFontSize=40\nFontColor=16777215\nFillColor=255\nBackColor=65280\nDelay=60\n' \
  >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"

"$QUORL" s >"$WORK/saver.log" 2>&1 &
pid=$!
sleep 2.5
e2e_screenshot "$WORK/scripts.png"
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
xdotool key a
e2e_wait_exit "$pid" 2 || fail "status $? after a key"

# bbox COLOUR [CROP]: "left right top bottom" (inclusive) of the pixels of
# exactly that colour.
bbox() {
  convert "$WORK/scripts.png" ${2:+-crop "$2" +repage} -fill black +opaque "$1" -fill white -opaque "$1" \
    -format '%@' info: | awk -F'[x+]' '{print $3, $3 + $1 - 1, $4, $4 + $2 - 1}'
}
read -r left right top bottom < <(bbox 'rgb(255,0,0)')
echo "- box $left..$right x $top..$bottom"
# The first cell is centred from top to bottom, the others a font size below
# each other, with a margin of 10 around them.
[ "$top" -ge 353 ] && [ "$top" -le 355 ] && [ "$bottom" -ge 492 ] && [ "$bottom" -le 494 ] ||
  fail "box rows $top..$bottom, not 354..493"
widest_left=9999 widest_right=0
for row in 364 404 444; do
  read -r a b _ _ < <(bbox 'rgb(255,255,255)' "1024x40+0+$row")
  echo "- line at $row: ink $a..$b"
  [ "$a" -le "$b" ] || fail "no ink on the line at $row"
  centre2=$((a + b))
  [ $((centre2 - 1023)) -ge -8 ] && [ $((centre2 - 1023)) -le 8 ] || fail "line at $row not centred: ink $a..$b"
  [ "$a" -ge $((left + 10 - 1)) ] && [ "$b" -le $((right - 10 + 1)) ] || fail "line at $row leaves the box"
  [ $((b - a)) -ge 200 ] || fail "line at $row only $((b - a)) pixels wide"
  widest_left=$((a < widest_left ? a : widest_left))
  widest_right=$((b > widest_right ? b : widest_right))
done
[ $((widest_left - left - 10)) -le 4 ] && [ $((right - 10 - widest_right)) -le 4 ] ||
  fail "the box ($left..$right) is not sized to the widest line ($widest_left..$widest_right)"
echo "PASS"
