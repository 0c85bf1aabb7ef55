#!/bin/bash
# Renders the PNG icons in dist/icons/ from the logo the art forge draws: the
# round maze medallion is cut out of logo.png (the name below it is left off,
# it is unreadable at icon sizes) and scaled to each size.
# Usage: dist/make-icons.sh [DATA_ARCHIVE] [WFPACK]
# Needs ImageMagick's convert. Rerun after changing the logo; commit the PNGs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
data=${1:-$here/../build/game/Warrenfold.data}
wfpack=${2:-$here/../build/tools/wfpack}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$wfpack" extract "$data" logo.png "$tmp/logo.png"
# The medallion's bounding box in the 704 x 598 logo: 460 px wide from
# (122, 1). A round mask keeps the top of the name out of the corners.
convert "$tmp/logo.png" -crop 460x460+122+1 +repage \
  \( -size 460x460 xc:none -fill white -draw "circle 229.5,229.5 229.5,1" \) \
  -compose DstIn -composite "$tmp/medallion.png"
for size in 48 128 256; do
  convert "$tmp/medallion.png" -filter Lanczos -resize ${size}x${size} \
    -strip -define png:exclude-chunks=date,time "$here/icons/warrenfold-$size.png"
done
