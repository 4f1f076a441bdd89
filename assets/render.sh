#!/usr/bin/env bash
# Renders the SVG sources in src/ to the GIF pictures the program loads.
# Needs librsvg2-bin, imagemagick and python3; the build itself needs none of
# them, since the GIFs are kept beside this script.
set -euo pipefail
cd "$(dirname "$0")"
python3 src/bones.py
for svg in src/*.svg; do
  name=$(basename "$svg" .svg)
  rsvg-convert "$svg" -o "/tmp/pawfolio-$name.png"
  # GIF holds one transparent colour: pixels more than half clear become it.
  convert "/tmp/pawfolio-$name.png" -channel A -threshold 50% +channel "$name.gif"
  rm -f "/tmp/pawfolio-$name.png"
done
# The icon of the desktop menu entry.
rsvg-convert -w 128 -h 128 src/doggie.svg -o pawfolio.png
