#!/usr/bin/env bash
# Makes the GIF decoding benchmark's pictures in OUTDIR: a grid of four kinds
# of content, each with 4, 16, 32 and 256 colours (minimum code sizes 2, 4, 5
# and 8) at 1920 x 1080 and 3840 x 2160, and one interlaced picture. The
# kinds, from the longest strings to the shortest:
# - flat: a plasma fractal blurred smooth and cut to the colours without
#   dithering, large areas of one colour;
# - gradient: a smooth radial gradient cut to the colours without dithering,
#   rings of one colour;
# - photo: the fractal blurred a little so that neighbouring pixels look alike
#   as in a photograph, dithered (Floyd-Steinberg) to the colours;
# - noise: random pixels cut to the colours, with no string to share.
# Names are KIND-COLOURSc-WIDTHxHEIGHT.gif. The same seed gives the same files.
set -euo pipefail
out=${1:?usage: make-bench-gifs.sh OUTDIR}
mkdir -p "$out"

make() {  # make NAME WIDTHxHEIGHT SOURCE [convert options]
  local name=$1 size=$2 source=$3
  shift 3
  [ -s "$out/$name" ] && return
  convert -size "$size" -seed 7 "$source" "$@" "$out/$name.tmp.gif"
  mv "$out/$name.tmp.gif" "$out/$name"
}

for size in 1920x1080 3840x2160; do
  for colours in 4 16 32 256; do
    make "flat-${colours}c-$size.gif" "$size" plasma:fractal -blur 0x3 +dither -colors "$colours"
    make "gradient-${colours}c-$size.gif" "$size" "radial-gradient:#ff4000-#0040ff" +dither -treedepth 8 -colors "$colours"
    make "photo-${colours}c-$size.gif" "$size" plasma:fractal -blur 0x1 -dither FloydSteinberg -colors "$colours"
    make "noise-${colours}c-$size.gif" "$size" xc:gray +noise Random +dither -colors "$colours"
  done
done
make photo-256c-1920x1080-interlaced.gif 1920x1080 plasma:fractal -blur 0x1 -dither FloydSteinberg -colors 256 \
  -interlace GIF
