#!/usr/bin/env bash
# Draws the program icon (101: 16 and 32 pixels, and 48 to 128 for the
# desktop's icon theme), the copy tool picture and the start-up banner (131)
# with ImageMagick. The PNGs are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# The icon: a clock face (time) with a gold coin (expenses) in front of it,
# drawn at 128 pixels and scaled down.
convert -size 128x128 xc:none \
  -fill '#1f5f7a' -stroke none -draw 'roundrectangle 4,4 123,123 22,22' \
  -fill white -stroke '#0d3345' -strokewidth 5 -draw 'circle 54,54 54,14' \
  -stroke '#0d3345' -strokewidth 7 -draw 'line 54,54 54,28' -draw 'line 54,54 74,62' \
  -fill '#0d3345' -stroke none -draw 'circle 54,54 54,48' \
  -fill '#f2b632' -stroke '#8a5a00' -strokewidth 5 -draw 'circle 92,92 92,62' \
  -fill none -stroke '#8a5a00' -strokewidth 4 -draw 'circle 92,92 92,72' \
  icon_full.png
convert icon_full.png -resize 32x32 -depth 8 -strip program_icon_32.png
convert icon_full.png -resize 16x16 -depth 8 -strip program_icon_16.png
for size in 48 64 128; do
  convert icon_full.png -resize ${size}x${size} -depth 8 -strip program_icon_${size}.png
done
rm icon_full.png

# The copy tool picture: a second page in front of the first, drawn at 64
# pixels and scaled down.
convert -size 64x64 xc:none \
  -fill white -stroke '#3b4a54' -strokewidth 4 -draw 'rectangle 6,4 38,44' \
  -fill '#dce9f2' -stroke '#1f5f7a' -strokewidth 4 -draw 'rectangle 24,18 56,58' \
  -stroke '#1f5f7a' -strokewidth 3 -draw 'line 31,30 49,30' -draw 'line 31,38 49,38' -draw 'line 31,46 45,46' \
  -resize 16x16 -depth 8 -strip copy_16.png

# The banner: the program's name on a blue band, the icon at its left.
convert -size 320x64 gradient:'#2a7fa3'-'#0d3345' \
  \( program_icon_32.png -resize 48x48 \) -geometry +10+8 -composite \
  -font DejaVu-Sans-Bold -pointsize 22 -fill white -annotate +70+30 'Pennywhistle' \
  -font DejaVu-Sans -pointsize 13 -fill '#f2d58a' -annotate +70+50 'time and expenses, 2000 R6' \
  -depth 8 -strip startup_banner.png
