#!/usr/bin/env bash
# Makes the desktop icon, tinkettles.png (128 x 128, transparent around it), from our
# own kettle picture. Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
# Usage: assets/package/make-icon.sh   (from any folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
svg="$here/../pictures/ankels.svg"
out="$here/tinkettles.png"
# The picture is 200 x 170: 128 wide keeps its shape, then the height is padded.
rsvg-convert --width 128 --height 109 "$svg" |
  convert - -background none -gravity center -extent 128x128 -strip \
    -define png:exclude-chunks=date,time PNG32:"$out.tmp"
mv "$out.tmp" "$out"
echo "make-icon: wrote $out" >&2
