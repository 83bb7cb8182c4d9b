# Shared set-up for the end-to-end tests. Source it after setting
#   QUORL=<path of the binary>  WORK=<scratch folder>
# It starts a private Xvfb server (DISPLAY is exported), gives the program
# its own data and settings folders, and cleans up on exit.
set -euo pipefail

mkdir -p "$WORK"
rm -rf "$WORK"/*
export QUORL_WINDOWS_DIR="$WORK/windows"
export XDG_CONFIG_HOME="$WORK/config"
export HOME="$WORK/home"
mkdir -p "$QUORL_WINDOWS_DIR/system" "$XDG_CONFIG_HOME" "$HOME"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QUORL_DISPLAY

E2E_PIDS=()
e2e_cleanup() {
  # Only processes still running as this shell's jobs: a pid that ended
  # earlier may belong to another program by now.
  local live=" $(jobs -p | tr '\n' ' ') " pid
  for pid in "${E2E_PIDS[@]}"; do
    if [[ $live == *" $pid "* ]]; then kill "$pid" 2>/dev/null || true; fi
  done
  E2E_PIDS=()
  wait 2>/dev/null || true
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# e2e_require_root WHY: skips the test (status 77) when not run as root.
e2e_require_root() { [ "$(id -u)" -eq 0 ] || { echo "SKIP: $1 needs root"; exit 77; }; }

# e2e_start_xvfb [WIDTHxHEIGHT [XVFB OPTIONS...]]: a private server on a
# display number the server picks itself, so tests running side by side
# never share one. -noreset: a server whose last client leaves would
# otherwise reset, and refuse the next test client meanwhile.
e2e_start_xvfb() {
  local size=${1:-1024x768}
  shift || true
  rm -f "$WORK/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
  done
  [ -s "$WORK/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  fail "Xvfb $DISPLAY does not answer"
}

# e2e_wait_window NAME: the id of the first window called NAME.
e2e_wait_window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  fail "no window \"$1\""
}

# e2e_wait_pid_window PID: the id of a visible window of process PID.
e2e_wait_pid_window() {
  local id
  for _ in $(seq 200); do
    kill -0 "$1" 2>/dev/null || fail "process $1 ended without a window"
    id=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  fail "no window of process $1"
}

# e2e_wait_focus WINDOW: until WINDOW has the keyboard focus, which is where
# the keys xdotool types go.
e2e_wait_focus() {
  for _ in $(seq 200); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.05
  done
  fail "window $1 never had the keyboard focus (it is at $(xdotool getwindowfocus 2>/dev/null))"
}

# e2e_wait_pid_focus PID: until a window of process PID has the focus.
e2e_wait_pid_focus() { e2e_wait_focus "$(e2e_wait_pid_window "$1")"; }

# e2e_start_two_monitors: a private 2048 x 768 server made of two 1024 x 768
# monitors side by side, M0 at x = 0 and M1 at x = 1024.
e2e_start_two_monitors() {
  e2e_start_xvfb 2048x768 +extension RANDR
  xrandr --setmonitor M0 1024/271x768/203+0+0 screen >/dev/null
  xrandr --setmonitor M1 1024/271x768/203+1024+0 none >/dev/null
}

# e2e_start_xorg_dummy: a private Xorg server (as root) with the dummy driver
# and two 1024 x 768 monitors side by side on real outputs, DUMMY0 and DUMMY1,
# whose modes can change while programs run (800x600 is offered too).
e2e_start_xorg_dummy() {
  e2e_require_root "Xorg with the dummy driver"
  cat >"$WORK/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
  Modeline "800x600" 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 768
    Modes "1024x768"
  EndSubSection
EndSection
CONF
  rm -f "$WORK/display"
  Xorg -displayfd 3 -noreset -nolisten tcp -config "$WORK/xorg.conf" -logfile "$WORK/xorg.log" \
    3>"$WORK/display" >"$WORK/xorg.out" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
  done
  [ -s "$WORK/display" ] || fail "Xorg did not start: $(tail -5 "$WORK/xorg.log" 2>/dev/null)"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
  done
  xrandr --addmode DUMMY1 1024x768 && xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0 ||
    fail "no second monitor"
}

# e2e_start_xlogo GEOMETRY: another program's window (xlogo) at GEOMETRY;
# its window id goes to $parent, its process id to $parent_pid.
e2e_start_xlogo() {
  xlogo -bw 0 -geometry "$1" 2>/dev/null &
  parent_pid=$!
  E2E_PIDS+=($parent_pid)
  parent=""
  for _ in $(seq 150); do
    parent=$(xwininfo -name xlogo 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$parent" ] && return 0
    sleep 0.1
  done
  fail "no xlogo window"
}

# e2e_screenshot FILE: the whole screen as PNG.
e2e_screenshot() { import -window root "$1"; }

# e2e_pixel FILE X Y: the pixel as "R,G,B" (0..255).
e2e_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# e2e_wait_for_pixel SHOT X Y RGB: screenshots until the pixel has that
# colour (five seconds at most).
e2e_wait_for_pixel() {
  for _ in $(seq 20); do
    sleep 0.25
    e2e_screenshot "$1"
    [ "$(e2e_pixel "$1" "$2" "$3")" = "$4" ] && return 0
  done
  fail "pixel ($2, $3) is $(e2e_pixel "$1" "$2" "$3"), not $4"
}

# e2e_near "R,G,B" "R,G,B": every channel within 8, as a lossy picture's
# colours are; "back" is the back colour (green) or black.
e2e_near() {
  local IFS=, a b i
  [ "$2" = back ] && { e2e_near "$1" 0,255,0 || e2e_near "$1" 0,0,0; return; }
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  for i in 0 1 2; do (( ${a[i]} - ${b[i]} <= 8 && ${b[i]} - ${a[i]} <= 8 )) || return 1; done
}

# e2e_wait_for_pixels NAME X1 Y1 RGB1 X2 Y2 RGB2 ...: screenshots into
# $WORK/NAME.png until every pixel has its colour (e2e_near), at most ten
# seconds. Around a picture is the back colour on the verse step after a new
# picture, black on others.
e2e_wait_for_pixels() {
  local name=$1 ok i
  shift
  local args=("$@")
  for _ in $(seq 40); do
    e2e_screenshot "$WORK/$name.png"
    ok=1
    for ((i = 0; i < ${#args[@]}; i += 3)); do
      e2e_near "$(e2e_pixel "$WORK/$name.png" "${args[i]}" "${args[i + 1]}")" "${args[i + 2]}" || { ok=0; break; }
    done
    [ $ok = 1 ] && return 0
    sleep 0.25
  done
  fail "$name not shown: pixel (${args[i]}, ${args[i + 1]}) is $(e2e_pixel "$WORK/$name.png" "${args[i]}" "${args[i + 1]}"), not ${args[i + 2]}"
}

# e2e_wait_exit PID SECONDS: the program's exit status, or fail after SECONDS.
e2e_wait_exit() {
  local pid=$1 limit=$2 i
  for i in $(seq $((limit * 20))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      local rc=0
      wait "$pid" || rc=$?
      return $rc
    fi
    sleep 0.05
  done
  fail "process $pid still running after ${limit}s"
}

# e2e_known_saver_data: lines, picture and colours whose layout is known: in
# 1024 x 768 the 800 x 600 picture sits at (112, 84) on green, and the red
# verse box covers 372..651 x 361..455 (ten-, twenty- and ten-character lines).
e2e_known_saver_data() {
  local sys="$QUORL_WINDOWS_DIR/system"
  printf 'aaaaaaaaaa\r\nbbbbbbbbbb\r\ncccccccccc\r\ndddddddddd\r\n' >"$sys/fives.txt"
  printf 'eeeeeeeeeeeeeeeeeeee\r\nffffffffffffffffffff\r\n' >"$sys/sevens.txt"
  cp "$QUORL_SOURCE_DIR/data/dusk.gif" "$sys/"
  printf 'dusk.gif\r\n' >"$sys/GIFList.txt"
  mkdir -p "$XDG_CONFIG_HOME/Zovex Screen Savers"
  printf '[quorl]\nFillColor=255\nBackColor=65280\n' >"$XDG_CONFIG_HOME/Zovex Screen Savers/quorl.conf"
}

# e2e_check_saver_layout SHOT [X]: the known data's picture and verse box in
# a 1024 x 768 saver whose left edge is at X (default 0).
e2e_check_saver_layout() {
  local shot=$1 x=${2:-0} want
  want=$(convert "$QUORL_SOURCE_DIR/data/dusk.gif" -format "%[fx:int(255*p{5,5}.r)],%[fx:int(255*p{5,5}.g)],%[fx:int(255*p{5,5}.b)]" info:)
  [ "$(e2e_pixel "$shot" $((x + 117)) 89)" = "$want" ] || fail "picture not at ($((x + 112)), 84) in $shot: $(e2e_pixel "$shot" $((x + 117)) 89) != $want"
  [ "$(e2e_pixel "$shot" $((x + 111)) 89)" = "0,255,0" ] || fail "back colour not around the new picture in $shot"
  [ "$(e2e_pixel "$shot" $((x + 372)) 361)" = "255,0,0" ] || fail "box corner not shaded in $shot"
  [ "$(e2e_pixel "$shot" $((x + 650)) 455)" = "255,0,0" ] || fail "box corner not shaded in $shot"
  [ "$(e2e_pixel "$shot" $((x + 652)) 361)" != "255,0,0" ] || fail "shading beyond the box in $shot"
}

# e2e_check_scaled_layout SHOT: at scale 2 on a 1024 x 768 screen, the
# 400 x 300 blue test picture covers 800 x 600 device pixels, centred
# (112..911 x 84..683) on the green back colour, and the verse is drawn at
# device pixels: text drawn at scale 1 and doubled would be unchanged by
# halving and doubling.
e2e_check_scaled_layout() {
  local shot=$1 at differing
  for at in "112 84" "911 683"; do
    [ "$(e2e_pixel "$shot" $at)" = "0,0,255" ] || fail "picture not at ($at) when scaled"
  done
  for at in "111 84" "912 683"; do
    [ "$(e2e_pixel "$shot" $at)" = "0,255,0" ] || fail "picture reaches ($at) when scaled"
  done
  convert "$shot" -crop 600x200+212+300 +repage "$WORK/text.png"
  convert "$WORK/text.png" -sample 50% -sample 200% "$WORK/blocks.png"
  differing=$(compare -metric AE "$WORK/text.png" "$WORK/blocks.png" null: 2>&1 || true)
  [ "${differing%% *}" -gt 100 ] || fail "the verse is drawn in 2 x 2 blocks ($differing pixels differ)"
}

# e2e_sideways_jpeg FILE: a JPEG stored 300 x 200, red left and blue right,
# with EXIF orientation 6: upright (a quarter turn clockwise) it is 200 x 300,
# red above and blue below.
e2e_sideways_jpeg() {
  convert -size 150x200 xc:red -size 150x200 xc:blue +append -quality 95 "$1.plain.jpg"
  {
    head -c 2 "$1.plain.jpg"
    # APP1: "Exif\0\0", then a big-endian TIFF with one entry, orientation 6.
    printf '\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00\x00\x00\x00\x00'
    tail -c +3 "$1.plain.jpg"
  } >"$1"
  rm -f "$1.plain.jpg"
}
