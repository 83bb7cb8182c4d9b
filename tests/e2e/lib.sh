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
unset QT_QPA_PLATFORM

E2E_PIDS=()
e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# e2e_start_xvfb [WIDTHxHEIGHT]: a private server on a display number the
# server picks itself, so tests running side by side never share one.
e2e_start_xvfb() {
  local size=${1:-1024x768}
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
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

# e2e_screenshot FILE: the whole screen as PNG.
e2e_screenshot() { import -window root "$1"; }

# e2e_pixel FILE X Y: the pixel as "R,G,B" (0..255).
e2e_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
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
