#!/usr/bin/env bash
# The Debian package on a throwaway machine: lintian finds no error; dpkg -i
# installs it; the real mate-screensaver and XScreenSaver (on two monitors,
# so two copies share the installed files at once) run the installed saver
# for a user with an empty home, and it shows the installed verses and
# pictures; dpkg -r then takes away every file it added.
PACKAGES=$1 WORK=$2
# One package test at a time on a machine, whoever runs it: they install the
# same package.
[ -n "${QUORL_PACKAGE_TEST_LOCKED:-}" ] ||
  exec env QUORL_PACKAGE_TEST_LOCKED=1 flock -o -w 240 /tmp/quorl-package-test.lock "$0" "$@"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../e2e/hosts.sh"
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' quorl 2>/dev/null | grep -q "ok installed"; then
  echo "SKIP: a quorl package is installed on this machine; it is left alone"
  exit 77
fi
deb=$(ls "$PACKAGES"/quorl_*.deb)
# dpkg and the triggers it runs see the machine's plain environment, not the
# test's folders; while another program holds dpkg's lock (an apt run), it
# waits up to two minutes for it.
dpkg() {
  local _ status
  for _ in $(seq 60); do
    status=0
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin dpkg "$@" 2>"$WORK/dpkg.err" || status=$?
    grep -q "lock" "$WORK/dpkg.err" || break
    sleep 2
  done
  cat "$WORK/dpkg.err" >&2
  return $status
}

echo "- lintian finds no error"
lintian --fail-on error "$deb" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
grep -v "running with root privileges" "$WORK/lintian.log" || true

echo "- dpkg -i installs it"
mapfile -t paths < <(dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); sub(/\/$/, "", $6); print $6 }')
present() { for f in "${paths[@]}"; do if [ -e "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done; }
before=$(present)
# The package goes first, whatever else fails on the way out.
trap 'dpkg -r quorl >/dev/null 2>&1 || true; hosts_stop || true; e2e_cleanup || true; rm -rf "${HOSTS_STAGE:-/nonexistent}"' EXIT
dpkg -i "$deb" >"$WORK/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$WORK/dpkg.log")"
[ "$(present)" = "$(printf '%s\n' "${paths[@]}")" ] || fail "files of the package are missing after dpkg -i"
[ "$(readlink -f /usr/bin/quorl)" = /usr/libexec/xscreensaver/quorl ] || fail "/usr/bin/quorl does not lead to the program"
sums=$(cd /usr/share/quorl && md5sum ./*)
hosts_stage_installed

# blank HOST SHOT X...: the host starts one saver per monitor at X, each
# showing the installed defaults; unblanking ends them all.
blank() {
  local host=$1 shot=$2
  shift 2
  if [ "$host" = mate ]; then hosts_mate_command --activate >/dev/null; else hosts_xscreensaver_command -activate >/dev/null; fi
  expect_installed_defaults "$shot" "$@"
  [ "$(hosts_saver_pids | wc -l)" -eq $# ] ||
    fail "$# savers wanted, running: $(hosts_saver_pids | wc -l); $(tail -n 5 "$HOSTS_STAGE"/*.log)"
  if [ "$host" = mate ]; then hosts_mate_command --deactivate >/dev/null; else hosts_xscreensaver_command -deactivate >/dev/null; fi
  hosts_wait_saver_gone
}

echo "- mate-screensaver runs it from its installed theme"
e2e_start_xvfb 1024x768
hosts_mate_start
blank mate "$WORK/mate.png" 0
hosts_stop

echo "- XScreenSaver runs a copy on each of two monitors"
e2e_cleanup
e2e_start_two_monitors
hosts_xscreensaver_start
blank xscreensaver "$WORK/xscreensaver.png" 0 1024
hosts_stop

[ -z "$(find "$HOSTS_STAGE/home" -iname '*quorl*')" ] || fail "the saver wrote into the home: $(find "$HOSTS_STAGE/home")"
[ "$(cd /usr/share/quorl && md5sum ./*)" = "$sums" ] || fail "the installed defaults changed"

echo "- dpkg -r takes away every file it added"
dpkg -r quorl >"$WORK/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$WORK/dpkg.log")"
[ "$(present)" = "$before" ] || fail "left behind: $(diff <(echo "$before") <(present))"
echo "PASS"
