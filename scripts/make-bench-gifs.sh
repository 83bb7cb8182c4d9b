#!/usr/bin/env bash
# Makes the GIF decoding benchmark's pictures in OUTDIR: photo-like 256-colour
# dithered images (a plasma fractal, blurred a little so neighbouring pixels
# look alike as in a photograph), one of them interlaced. The same seed gives
# the same files.
set -euo pipefail
out=${1:?usage: make-bench-gifs.sh OUTDIR}
mkdir -p "$out"

make() {  # make NAME WIDTHxHEIGHT [convert options]
  local name=$1 size=$2
  shift 2
  [ -s "$out/$name" ] && return
  convert -size "$size" -seed 7 plasma:fractal -blur 0x1 -dither FloydSteinberg -colors 256 "$@" "$out/$name.tmp.gif"
  mv "$out/$name.tmp.gif" "$out/$name"
}

make photo-1920x1080.gif 1920x1080
make photo-3840x2160.gif 3840x2160
make photo-1920x1080-interlaced.gif 1920x1080 -interlace GIF
