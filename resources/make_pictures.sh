#!/usr/bin/env bash
# Draws the program icon (101: 16 and 32 pixels, and 48 to 128 for the
# desktop's icon theme), the copy tool picture, the start-up banner (131), the
# tree's picture strip (112) and the card picture (130) with ImageMagick.
# The PNGs are committed; run this only to change them.
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

# The tree's picture strip (112): 16 x 16 each, a check mark (taken from the
# cell icons, 124) and a grey circle, which every tree node shows.
convert -size 16x16 xc:none \
  -fill '#b4b4b4' -stroke '#6e6e6e' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,2.5' \
  grey_circle.png
convert \( cell_icons.png -crop 16x16+0+0 +repage \) grey_circle.png +append \
  -depth 8 -strip tree_icons.png
rm grey_circle.png

# The Mixed view's card picture (130), 183 x 55: a faint clock and coin with
# the program's name, pale enough for the card's text to stay readable over it.
convert -size 183x55 xc:white \
  -fill '#eef4f7' -stroke '#dce8ee' -strokewidth 2 -draw 'roundrectangle 1,1 181,53 10,10' \
  -fill white -stroke '#c9dbe4' -strokewidth 3 -draw 'circle 27,27 27,8' \
  -stroke '#c9dbe4' -strokewidth 3 -draw 'line 27,27 27,15' -draw 'line 27,27 36,31' \
  -fill '#f7ecd2' -stroke '#e9d7ab' -strokewidth 2 -draw 'circle 43,39 43,28' \
  -font DejaVu-Sans-Bold -pointsize 15 -fill '#d3e2ea' -stroke none -annotate +62+29 'Pennywhistle' \
  -font DejaVu-Sans -pointsize 10 -fill '#e3d3ad' -annotate +64+44 'time and expenses' \
  -colors 256 -depth 8 -strip card_picture.png
