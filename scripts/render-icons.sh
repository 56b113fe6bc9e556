#!/usr/bin/env bash
# Renders the PNG icon sizes menus use from packaging/icons/kzconfig.svg
# (needs rsvg-convert from librsvg2-bin). Run after editing the SVG and commit
# the PNGs, so that building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for s in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$s" -h "$s" kzconfig.svg -o "kzconfig-$s.png"
done
