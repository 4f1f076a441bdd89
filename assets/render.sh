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
# The same sizes in one Windows icon, for the program file, its shortcut and
# its entry among installed programs: each size a PNG, as Windows reads them.
python3 - << 'ICO'
import struct
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [open(f"icons/pawfolio-{s}.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(sizes)
head = struct.pack("<HHH", 0, 1, len(sizes))
for size, image in zip(sizes, images):
    head += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
open("icons/pawfolio.ico", "wb").write(head + b"".join(images))
ICO
