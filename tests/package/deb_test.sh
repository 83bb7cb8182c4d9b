#!/usr/bin/env bash
# The Debian package on a throwaway machine: lintian finds no error; dpkg -i
# installs it; the installed saver, run by a user with an empty home and no
# XDG_* variables (as mate-screensaver runs it), shows the installed verses
# and pictures; dpkg -r then takes away every file it added.
PACKAGES=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' quorl 2>/dev/null | grep -q "ok installed"; then
  echo "SKIP: a quorl package is installed on this machine; it is left alone"
  exit 77
fi
deb=$(ls "$PACKAGES"/quorl_*.deb)
# dpkg and the triggers it runs see the machine's plain environment, not the
# test's folders.
dpkg() { env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin dpkg "$@"; }

echo "- lintian finds no error"
lintian --fail-on error "$deb" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
grep -v "running with root privileges" "$WORK/lintian.log" || true

echo "- dpkg -i installs it"
mapfile -t paths < <(dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); sub(/\/$/, "", $6); print $6 }')
present() { for f in "${paths[@]}"; do if [ -e "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done; }
before=$(present)
trap 'e2e_cleanup; dpkg -r quorl >/dev/null 2>&1 || true' EXIT
dpkg -i "$deb" >"$WORK/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$WORK/dpkg.log")"
[ "$(present)" = "$(printf '%s\n' "${paths[@]}")" ] || fail "files of the package are missing after dpkg -i"
[ "$(readlink -f /usr/bin/quorl)" = /usr/libexec/xscreensaver/quorl ] || fail "/usr/bin/quorl does not lead to the program"

echo "- a user with an empty home sees the installed verses and pictures"
e2e_start_xvfb 1024x768
fresh=$WORK/fresh-home
mkdir -p "$fresh"
sums=$(cd /usr/share/quorl && md5sum ./*)
env -i HOME="$fresh" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin quorl s >"$WORK/saver.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
sleep 2
e2e_screenshot "$WORK/saver.png"
expect_installed_defaults "$WORK/saver.png" 112 84
xdotool key a
e2e_wait_exit "$pid" 2 || fail "status $? after a key"
[ -z "$(find "$fresh" -iname '*quorl*')" ] || fail "the saver wrote into the home folder: $(find "$fresh")"
[ "$(cd /usr/share/quorl && md5sum ./*)" = "$sums" ] || fail "the installed defaults changed"

echo "- dpkg -r takes away every file it added"
dpkg -r quorl >"$WORK/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$WORK/dpkg.log")"
[ "$(present)" = "$before" ] || fail "left behind: $(diff <(echo "$before") <(present))"
echo "PASS"
