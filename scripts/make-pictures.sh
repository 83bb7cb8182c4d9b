#!/usr/bin/env bash
# Draws Quorl's four background pictures with ImageMagick's convert:
#   dusk.gif    800x600   dusk sky with a moon and a few stars over dark hills
#   hills.gif  1024x768   misty green hills, one ridge behind another
#   snow.gif    640x480   snowy night with falling snow and a row of pines (interlaced)
#   autumn.gif  320x240   warm autumn gradient with drifting leaves
#
# Usage: scripts/make-pictures.sh [output folder]   (default: data/)
#
# The colours stay dark and muted: the verse is drawn in cyan over a black
# checkerboard, and a bright or bluish-green background would swallow it.
# Every random element comes from a fixed seed, so running the script again
# gives byte-identical files. The pictures are plain single-frame GIFs with at
# most 256 colours and no transparency, so the simplest GIF reader shows them.
set -euo pipefail

out=${1:-data}
mkdir -p "$out"

# Last steps shared by every picture: flatten to one opaque frame at the
# origin, drop metadata, and reduce to one palette of at most 256 colours.
finish=(-alpha off +repage -strip -dither FloydSteinberg -colors 256)

# A small linear congruential generator, so that leaf and tree positions do
# not depend on the bash version's $RANDOM. next_random LIMIT sets $rnd to a
# number in 0..LIMIT-1.
lcg_state=20240917
next_random() {
  lcg_state=$(((lcg_state * 1103515245 + 12345) % 2147483648))
  rnd=$(((lcg_state / 65536) % $1))
}

make_dusk() {
  local w=800 h=600
  convert -size "${w}x${h}" gradient:'#15172e'-'#5e4458' \
    \( -size "${w}x${h}" xc:gray50 -seed 11 +noise Random -colorspace Gray \
       -threshold 99.92% \
       \( -size "${w}x${h}" gradient:white-black \) -compose Multiply -composite \
       -evaluate Multiply 0.75 \) \
    -compose Screen -composite \
    \( -size "${w}x${h}" xc:none -fill 'rgba(225,214,170,0.30)' \
       -draw 'circle 610,135 610,215' -blur 0x28 \) \
    -compose Over -composite \
    -fill '#d9cda2' -draw 'circle 610,135 610,178' \
    -fill '#c7ba8f' -draw 'circle 596,124 596,134' -draw 'circle 624,150 624,157' \
    -draw 'circle 603,158 603,163' \
    -fill '#2a2238' -draw 'path "M 0,470 C 150,420 260,440 380,465 S 620,410 800,450 L 800,600 L 0,600 Z"' \
    -fill '#17131f' -draw 'path "M 0,530 C 120,500 300,505 430,525 S 660,495 800,515 L 800,600 L 0,600 Z"' \
    "${finish[@]}" "$out/dusk.gif"
}

make_hills() {
  local w=1024 h=768
  convert -size "${w}x${h}" gradient:'#46524f'-'#7a857a' \
    \( -size "${w}x${h}" xc:none -fill 'rgba(214,210,180,0.55)' \
       -draw 'circle 300,230 300,268' -blur 0x10 \) -compose Over -composite \
    -fill '#5b6c60' -draw 'path "M 0,420 C 180,330 360,350 520,390 S 860,320 1024,370 L 1024,768 L 0,768 Z"' \
    \( -size "${w}x${h}" xc:none -fill 'rgba(170,182,170,0.45)' \
       -draw 'rectangle 0,430 1024,480' -blur 0x24 \) -compose Over -composite \
    -fill '#45604b' -draw 'path "M 0,500 C 220,440 420,470 600,500 S 900,450 1024,480 L 1024,768 L 0,768 Z"' \
    \( -size "${w}x${h}" xc:none -fill 'rgba(160,175,160,0.35)' \
       -draw 'rectangle 0,540 1024,580' -blur 0x22 \) -compose Over -composite \
    -fill '#34503a' -draw 'path "M 0,600 C 160,560 380,570 560,600 S 860,560 1024,585 L 1024,768 L 0,768 Z"' \
    -fill '#243a29' -draw 'path "M 0,690 C 240,650 520,665 700,690 S 920,660 1024,675 L 1024,768 L 0,768 Z"' \
    "${finish[@]}" "$out/hills.gif"
}

make_snow() {
  local w=640 h=480 i x y s trees=()
  # A row of small pines along the snowy ridge.
  for i in $(seq 0 17); do
    next_random 30
    x=$((i * 38 + rnd - 10))
    next_random 22
    s=$((18 + rnd))
    y=$((394 + (x - 320) * (x - 320) / 3800))
    trees+=(-draw "polygon $x,$((y - s * 2)) $((x - s / 2)),$y $((x + s / 2)),$y")
  done
  convert -size "${w}x${h}" gradient:'#0b1124'-'#27314c' \
    -fill '#5e6880' -draw 'path "M 0,420 C 160,380 480,380 640,420 L 640,480 L 0,480 Z"' \
    -fill '#141b2c' "${trees[@]}" \
    -fill '#6f7a92' -draw 'path "M 0,440 C 200,405 440,410 640,445 L 640,480 L 0,480 Z"' \
    \( -size "${w}x${h}" xc:gray50 -seed 23 +noise Random -colorspace Gray \
       -threshold 99.5% -evaluate Multiply 0.80 \) \
    -compose Screen -composite \
    \( -size "${w}x${h}" xc:gray50 -seed 29 +noise Random -colorspace Gray \
       -threshold 99.85% -morphology Dilate Disk:1.2 -blur 0x0.6 -evaluate Multiply 0.85 \) \
    -compose Screen -composite \
    "${finish[@]}" -interlace GIF "$out/snow.gif"
}

make_autumn() {
  local w=320 h=240 i x y a c leaves=()
  local colours=('#a85a2a' '#8e3b22' '#b27a34' '#74441e' '#9a6a2c')
  for i in $(seq 0 27); do
    next_random "$w"; x=$rnd
    next_random "$h"; y=$rnd
    next_random 180; a=$rnd
    next_random ${#colours[@]}; c=${colours[$rnd]}
    leaves+=(-fill "$c" -stroke '#3a2416' -strokewidth 1
             -draw "translate $x,$y rotate $a path 'M -10,0 Q 0,-7 10,0 Q 0,7 -10,0 Z' line -14,0 7,0")
  done
  convert -size "${w}x${h}" gradient:'#3a2622'-'#7c4a2a' \
    \( -size "${w}x${h}" radial-gradient:'rgba(0,0,0,0)'-'rgba(0,0,0,0.45)' \) \
    -compose Over -composite \
    "${leaves[@]}" \
    "${finish[@]}" "$out/autumn.gif"
}

make_dusk
make_hills
make_snow
make_autumn
