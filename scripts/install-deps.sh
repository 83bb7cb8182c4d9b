#!/usr/bin/env bash
# Installs the Debian 12 packages Quorl needs to build, test, run and
# benchmark. Packages already present are skipped; apt runs as root, or
# through sudo when not root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libfreetype-dev libfontconfig-dev libharfbuzz-dev libfribidi-dev libxcb1-dev
  fonts-liberation fonts-dejavu-core fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji libharfbuzz-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-apps x11-utils imagemagick openbox
  libgif-dev libstb-dev
  libjpeg62-turbo-dev libspng-dev libwebp-dev libheif-dev
  clang-14 libclang-rt-14-dev
  xscreensaver xscreensaver-data mate-screensaver dbus-x11 dbus-daemon libglib2.0-bin x11-xserver-utils
  xserver-xorg-core xserver-xorg-video-dummy
  libwayland-dev wayland-protocols qt6-wayland sway grim wtype swayidle
  dpkg-dev file lintian desktop-file-utils libxml2-utils man-db
  g++-mingw-w64-x86-64-posix wine64 wine googletest nsis
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
