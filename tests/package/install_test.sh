#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR: every file in its place with its
# mode, the bin link, the XScreenSaver settings file against XScreenSaver's
# schema, both desktop entries, a man page that renders without a warning and
# names every switch, file and setting. Then the installed program, run by a
# user with an empty home, shows the installed verses over the first
# installed picture and writes nothing.
BUILD=$1 WORK=$2
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

root=$WORK/root
DESTDIR=$root cmake --install "$BUILD" >"$WORK/install.log" 2>&1 || fail "install: $(tail -n 3 "$WORK/install.log")"
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
p=$root$prefix

echo "- every file, with its mode, under the prefix"
expected="644 share/applications/quorl-settings.desktop
644 share/applications/screensavers/quorl.desktop
644 share/doc/quorl/changelog.gz
644 share/doc/quorl/copyright
644 share/icons/hicolor/16x16/apps/quorl.png
644 share/icons/hicolor/32x32/apps/quorl.png
644 share/man/man6/quorl.6.gz
644 share/quorl/GIFList.txt
644 share/quorl/autumn.gif
644 share/quorl/dusk.gif
644 share/quorl/fives.txt
644 share/quorl/hills.gif
644 share/quorl/sevens.txt
644 share/quorl/snow.gif
644 share/xscreensaver/config/quorl.xml
755 libexec/xscreensaver/quorl
777 bin/quorl -> ../libexec/xscreensaver/quorl"
actual=$(cd "$root" && find . \( -type l -printf "%m %p -> %l\n" \) -o \( -type f -printf "%m %p\n" \) |
         sed "s|\./${prefix#/}/||" | LC_ALL=C sort)
[ "$actual" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "installed tree differs:
$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual"))"
for size in 16 32; do
  [ "$(identify -format %wx%h "$p/share/icons/hicolor/${size}x$size/apps/quorl.png")" = "${size}x$size" ] ||
    fail "the ${size}x$size icon has another size"
done

echo "- the XScreenSaver settings file and the desktop entries"
xmllint --noout --schema "$here/xss.xsd" "$p/share/xscreensaver/config/quorl.xml" 2>"$WORK/xml.log" ||
  fail "quorl.xml: $(cat "$WORK/xml.log")"
grep -q '<command arg="--root"/>' "$p/share/xscreensaver/config/quorl.xml" || fail "quorl.xml passes no --root"
for entry in applications/screensavers/quorl.desktop applications/quorl-settings.desktop; do
  out=$(desktop-file-validate "$p/share/$entry" 2>&1) || fail "$entry: $out"
  ! grep -E "error|warning" <<<"$out" || fail "$entry is not clean"
done
theme=$p/share/applications/screensavers/quorl.desktop
grep -qx "Exec=$prefix/libexec/xscreensaver/quorl --root" "$theme" || fail "theme Exec: $(grep Exec "$theme")"
grep -qx "TryExec=$prefix/libexec/xscreensaver/quorl" "$theme" || fail "theme TryExec: $(grep TryExec "$theme")"
grep -qx "Exec=quorl c" "$p/share/applications/quorl-settings.desktop" || fail "the settings entry does not run quorl c"

echo "- the man page renders cleanly and covers the switches, files and settings"
LC_ALL=C MANWIDTH=80 man --warnings -l "$p/share/man/man6/quorl.6.gz" >"$WORK/man.txt" 2>"$WORK/man.err"
[ ! -s "$WORK/man.err" ] || fail "man: $(cat "$WORK/man.err")"
for word in " s " " p window" " c," --root -root "--window-id id" "-window-id id" " -window( |$)" -fps SIGTERM \
            XSCREENSAVER_WINDOW XDG_DATA_DIRS QUORL_WINDOWS_DIR fives.txt sevens.txt GIFList.txt quorl.conf \
            "$prefix/share/quorl/" FontName FontSize FontColor FillColor BackColor Delay GIFDelay \
            "programs:" mate-screensaver xfce4-screensaver; do
  grep -qE -- "$word" "$WORK/man.txt" || fail "the man page lacks \"$word\""
done

echo "- a user with an empty home sees the installed verses over the first picture"
e2e_start_xvfb 1024x768
fresh=$WORK/fresh-home
mkdir -p "$fresh"
env -u QUORL_WINDOWS_DIR -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$fresh" XDG_DATA_DIRS="$p/share" \
  "$p/bin/quorl" s >"$WORK/saver.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
expect_installed_defaults "$WORK/saver.png" 0
xdotool key a
e2e_wait_exit "$pid" 2 || fail "status $? after a key"
[ -z "$(find "$fresh" -iname '*quorl*')" ] || fail "the saver wrote into the home folder: $(find "$fresh")"
echo "PASS"
