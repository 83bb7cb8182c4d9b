# Starting the real screen-saver hosts headless, with Quorl as their only
# saver. Source it after lib.sh (for `fail`) in a test, or on its own with a
# `fail` function of your own. Both hosts run as `nobody` (XScreenSaver never
# runs savers as root), so everything they start must be reachable by nobody.
#
#   hosts_stage QUORL DATA_DIR CONFIG_DIR   copies the program, its data folder and
#                                           its settings into a fresh world-readable
#                                           folder: $HOSTS_STAGE; the command a host
#                                           runs is then "$HOSTS_COMMAND --root".
#   hosts_stage_installed                   a fresh user with an empty home for the
#                                           installed program: the hosts then run
#                                           "quorl --root" from their own folder.
#   hosts_xscreensaver_start                XScreenSaver on $DISPLAY, ready for
#   hosts_xscreensaver_command ARGS...      -activate, -deactivate, -exit.
#   hosts_mate_start                        mate-screensaver on a private session bus,
#   hosts_mate_command ARGS...              --activate, --deactivate, --query, --exit.
#   hosts_saver_pids                        the pids of the staged program, one a line;
#   hosts_wait_saver_gone                   fails unless they are all gone within 1 s.
#   hosts_stop                              ends every host and bus started here.

HOSTS_PIDS=()
HOSTS_NOBODY=(setpriv --reuid=65534 --regid=65534 --clear-groups)

hosts_stage() {
  local quorl=$1 data=$2 config=$3
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: the hosts run their savers as nobody, which needs root"; exit 77; }
  HOSTS_STAGE=$(mktemp -d /tmp/quorl-hosts.XXXXXX)
  chmod 755 "$HOSTS_STAGE"
  cp "$quorl" "$HOSTS_STAGE/quorl"
  cp -r "$data" "$HOSTS_STAGE/windows"
  cp -r "$config" "$HOSTS_STAGE/config"
  mkdir -p "$HOSTS_STAGE/home" "$HOSTS_STAGE/asan"
  chmod -R a+rX "$HOSTS_STAGE"
  chown -R 65534:65534 "$HOSTS_STAGE/home" "$HOSTS_STAGE/asan"
  # `env` execs the program, so the host's signals reach the saver itself.
  # Sanitizer reports go to files the test can look for.
  HOSTS_COMMAND="env QUORL_WINDOWS_DIR=$HOSTS_STAGE/windows XDG_CONFIG_HOME=$HOSTS_STAGE/config"
  HOSTS_COMMAND+=" ASAN_OPTIONS=log_path=$HOSTS_STAGE/asan/report UBSAN_OPTIONS=log_path=$HOSTS_STAGE/asan/report"
  HOSTS_COMMAND+=" LSAN_OPTIONS=suppressions=$HOSTS_STAGE/lsan.supp $HOSTS_STAGE/quorl"
  printf 'leak:libdbus-1.so\n' >"$HOSTS_STAGE/lsan.supp"
  chmod a+r "$HOSTS_STAGE/lsan.supp"
}

hosts_stage_installed() {
  HOSTS_STAGE=$(mktemp -d /tmp/quorl-hosts.XXXXXX)
  chmod 755 "$HOSTS_STAGE"
  mkdir -p "$HOSTS_STAGE/home"
  chown 65534:65534 "$HOSTS_STAGE/home"
  HOSTS_COMMAND=quorl
  HOSTS_INSTALLED=1
}

hosts_saver_pids() {
  if [ -z "${HOSTS_INSTALLED:-}" ]; then pgrep -f "^$HOSTS_STAGE/quorl" || true; return; fi
  local pid
  for pid in $(pgrep -x quorl); do
    [ "$(readlink "/proc/$pid/exe")" = /usr/libexec/xscreensaver/quorl ] && echo "$pid"
  done
  return 0
}

# Fails unless every copy of the saver is gone within a second.
hosts_wait_saver_gone() {
  local _ pids
  pids=$(hosts_saver_pids)
  for _ in $(seq 10); do
    [ -z "$(hosts_saver_pids)" ] && return 0
    sleep 0.1
  done
  fail "the saver is still running a second after the host ended it: $pids"
}

# Sanitizer reports the saver left, if any.
hosts_sanitizer_reports() { cat "$HOSTS_STAGE"/asan/report* 2>/dev/null || true; }

hosts_as_nobody() {
  "${HOSTS_NOBODY[@]}" env -i HOME="$HOSTS_STAGE/home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"
}

hosts_xscreensaver_start() {
  cat >"$HOSTS_STAGE/home/.xscreensaver" <<XS
mode: one
selected: 0
timeout: 8:00:00
cycle: 0:00:00
lock: False
splash: False
fade: False
unfade: False
dpmsEnabled: False
programs: \\
  "Quorl" $HOSTS_COMMAND --root \\n\\
XS
  chown 65534:65534 "$HOSTS_STAGE/home/.xscreensaver"
  hosts_as_nobody xscreensaver -no-splash >"$HOSTS_STAGE/xscreensaver.log" 2>&1 &
  HOSTS_PIDS+=($!)
  local _
  for _ in $(seq 100); do
    hosts_xscreensaver_command -version >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "XScreenSaver does not answer: $(cat "$HOSTS_STAGE/xscreensaver.log")"
}

hosts_xscreensaver_command() { hosts_as_nobody xscreensaver-command "$@"; }

# mate-screensaver runs savers only from its own folders: inside a private
# mount namespace an overlay puts a launcher into one of them, leaving the
# real folder untouched, and a theme entry in the home names it. The whole
# host then runs in that namespace. The installed program needs neither: its
# theme entry is installed with it.
hosts_mate_start() {
  local folder=/usr/libexec/xscreensaver mount=""
  if [ -z "${HOSTS_INSTALLED:-}" ]; then
    mkdir -p "$HOSTS_STAGE/upper" "$HOSTS_STAGE/work" "$HOSTS_STAGE/apps/screensavers" "$folder"
    printf '#!/bin/sh\nexec %s "$@"\n' "$HOSTS_COMMAND" >"$HOSTS_STAGE/upper/quorl-test"
    chmod 755 "$HOSTS_STAGE/upper/quorl-test"
    cat >"$HOSTS_STAGE/apps/screensavers/quorl.desktop" <<DESKTOP
[Desktop Entry]
Name=Quorl
Exec=quorl-test --root
TryExec=quorl-test
Type=Application
Categories=Screensaver;
OnlyShowIn=MATE;XFCE;
DESKTOP
    mkdir -p "$HOSTS_STAGE/home/.local/share/applications"
    cp -r "$HOSTS_STAGE/apps/screensavers" "$HOSTS_STAGE/home/.local/share/applications/"
    mount="mount -t overlay overlay -o lowerdir=$folder,upperdir=$HOSTS_STAGE/upper,workdir=$HOSTS_STAGE/work $folder"
  fi
  chown -R 65534:65534 "$HOSTS_STAGE/home"
  chmod -R a+rX "$HOSTS_STAGE"
  cat >"$HOSTS_STAGE/mate.sh" <<SCRIPT
set -e
$mount
exec ${HOSTS_NOBODY[*]} env -i HOME=$HOSTS_STAGE/home DISPLAY=$DISPLAY PATH=$folder:/usr/bin:/bin \
  dbus-run-session --dbus-daemon=dbus-daemon -- sh -c '
    echo "\$DBUS_SESSION_BUS_ADDRESS" >$HOSTS_STAGE/home/bus
    export GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1
    gsettings set org.mate.screensaver mode single
    gsettings set org.mate.screensaver themes "[\"screensavers-quorl\"]"
    gsettings set org.mate.screensaver lock-enabled false
    gsettings set org.mate.screensaver idle-activation-enabled false
    exec mate-screensaver --no-daemon'
SCRIPT
  unshare -m --propagation private sh "$HOSTS_STAGE/mate.sh" >"$HOSTS_STAGE/mate.log" 2>&1 &
  HOSTS_PIDS+=($!)
  local _
  for _ in $(seq 100); do
    [ -s "$HOSTS_STAGE/home/bus" ] && hosts_mate_command --query >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "mate-screensaver does not answer: $(cat "$HOSTS_STAGE/mate.log")"
}

hosts_mate_command() {
  "${HOSTS_NOBODY[@]}" env -i HOME="$HOSTS_STAGE/home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
    DBUS_SESSION_BUS_ADDRESS="$(cat "$HOSTS_STAGE/home/bus")" mate-screensaver-command "$@"
}

# The hosts are asked to leave first (each ends its saver and, for MATE, the
# bus goes with the session); whatever is left gets SIGTERM.
hosts_stop() {
  local pid _
  [ -n "${HOSTS_STAGE:-}" ] || return 0
  hosts_xscreensaver_command -exit >/dev/null 2>&1 || true
  [ -s "$HOSTS_STAGE/home/bus" ] && { hosts_mate_command --exit >/dev/null 2>&1 || true; }
  for _ in $(seq 20); do
    local alive=0
    for pid in "${HOSTS_PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" = 0 ] && break
    sleep 0.1
  done
  for pid in "${HOSTS_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  HOSTS_PIDS=()
}
