#!/usr/bin/env bash
# Draws the program's icon at the hicolor theme's sizes from pandecta.svg.
# Needs rsvg-convert (librsvg2-bin); the results are committed, so the build
# itself never runs this.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" pandecta.svg -o "pandecta-$size.png"
done
