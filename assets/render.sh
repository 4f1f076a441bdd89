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
# The icon of the program and its menu entry, at the sizes desktops ask for.
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" src/doggie.svg -o "icons/pawfolio-$size.png"
done
