#!/usr/bin/env bash
# Makes the GIF decoding benchmark's pictures in OUTDIR: photo-like 256-colour
# dithered images (a plasma fractal, blurred a little so neighbouring pixels
# look alike as in a photograph), one of them interlaced; and a flat one, the
# fractal blurred smoother and cut to 64 colours without dithering, so that it is
# made of large areas of one colour. The same seed gives the same files.
set -euo pipefail
out=${1:?usage: make-bench-gifs.sh OUTDIR}
mkdir -p "$out"

make() {  # make NAME WIDTHxHEIGHT [convert options]
  local name=$1 size=$2
  shift 2
  [ -s "$out/$name" ] && return
  convert -size "$size" -seed 7 plasma:fractal "$@" "$out/$name.tmp.gif"
  mv "$out/$name.tmp.gif" "$out/$name"
}

photo=(-blur 0x1 -dither FloydSteinberg -colors 256)
make photo-1920x1080.gif 1920x1080 "${photo[@]}"
make photo-3840x2160.gif 3840x2160 "${photo[@]}"
make photo-1920x1080-interlaced.gif 1920x1080 "${photo[@]}" -interlace GIF
make flat-3840x2160.gif 3840x2160 -blur 0x3 +dither -colors 64
