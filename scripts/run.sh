#!/usr/bin/env bash
# Installs what is missing, builds Quorl and runs the saver, with the verse
# lines and pictures of data/ as its installed defaults: on $DISPLAY when
# there is one (move the mouse or press a key to end it), else under Xvfb for
# a few verses, leaving screenshots in out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --target quorl
quorl=build-release/src/app/quorl

# The verse lines and pictures in data/ serve as the installed defaults, read
# whenever the user's data folder has no line file or picture list of its own.
mkdir -p build-release/share
ln -sfn "$PWD/data" build-release/share/quorl
export XDG_DATA_DIRS="$PWD/build-release/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
echo "Data folder: ${QUORL_WINDOWS_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/quorl} (defaults from data/)"

if [ -n "${DISPLAY:-}" ]; then
  exec "$quorl" s
fi

# No display: run on a private Xvfb server and take a screenshot of each verse.
mkdir -p out
display=""
for n in $(seq 50 99); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

"$quorl" s &
saver=$!
sleep 2.5
for i in 1 2 3; do
  [ "$i" = 1 ] || sleep 5
  import -window root "out/saver-$i.png"
  echo "Screenshot: out/saver-$i.png"
done
xdotool key space
wait "$saver"
echo "The saver ended with status $?."
