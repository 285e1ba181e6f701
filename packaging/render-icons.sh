#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from icons/ordalvex.svg (needs rsvg-convert,
# Debian's librsvg2-bin). The PNGs are kept in the repository so that building does not need it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$here/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$here/icons/ordalvex.svg" -o "$here/icons/${size}x${size}/ordalvex.png"
done
