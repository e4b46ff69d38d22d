#!/usr/bin/env bash
# Renders the icon's PNG sizes from umbrascope.svg (needs librsvg2-bin). The
# PNGs are committed, so building the program needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" umbrascope.svg -o "umbrascope-$size.png"
done
