#!/usr/bin/env bash
# Draws the program's icons with ImageMagick. Each picture is drawn at eight times its
# size and scaled down, which gives smooth edges and a real alpha channel. The .ico files
# it writes are committed; run this again only to change the artwork.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sizes of each picture for displays scaled to 125 %, 150 % and 200 %, so a window on
# such a display shows a picture drawn for its size instead of a stretched one.
scaled_sizes() {
  local size=$1
  echo $(((size * 120 + 48) / 96)) $(((size * 144 + 48) / 96)) $(((size * 192 + 48) / 96))
}

# draw NAME SIZE DRAW-ARGS...: one picture, SIZE pixels square, drawn on a canvas 8 times
# larger; the same drawing at the scaled sizes goes to NAME_<size>.png.
draw() {
  local name=$1 size=$2
  shift 2
  local big=$((size * 8))
  convert -size ${big}x${big} xc:none "$@" -filter Lanczos -resize ${size}x${size} \
    -define png:color-type=6 "$work/$name.png"
  for scaled in $(scaled_sizes "$size"); do
    convert -size ${big}x${big} xc:none "$@" -filter Lanczos -resize ${scaled}x${scaled} \
      -define png:color-type=6 "$work/${name}_${scaled}.png"
  done
}

# pictures NAME SIZE: the picture and its scaled sizes, in the order an .ico lists them.
pictures() {
  local name=$1 size=$2
  echo "$work/$name.png"
  for scaled in $(scaled_sizes "$size"); do echo "$work/${name}_${scaled}.png"; done
}

# ---- Toolbar pictures, 22 x 22, in image-list order ----
draw btn_record 22 \
  -fill '#b3120f' -draw 'circle 88,88 88,18' \
  -fill '#e8302a' -draw 'circle 88,88 88,28' \
  -fill '#ff8a80' -draw 'ellipse 70,62 22,14 0,360'
draw btn_pause 22 \
  -fill '#1f3f73' -draw 'roundrectangle 34,24 74,152 10,10' -draw 'roundrectangle 102,24 142,152 10,10' \
  -fill '#4f7fc7' -draw 'roundrectangle 42,32 66,144 6,6' -draw 'roundrectangle 110,32 134,144 6,6'
draw btn_stop 22 \
  -fill '#1e2a38' -draw 'roundrectangle 28,28 148,148 14,14' \
  -fill '#44576e' -draw 'roundrectangle 38,38 138,138 10,10'
camera=(
  -fill '#2d2f33' -draw 'roundrectangle 56,30 104,58 8,8'
  -fill '#3b3e44' -draw 'roundrectangle 10,46 166,150 16,16'
  -fill '#7b808a' -draw 'roundrectangle 18,54 158,142 12,12'
  -fill '#222428' -draw 'circle 88,98 88,56'
  -fill '#3f78c9' -draw 'circle 88,98 88,68'
  -fill '#a9cdf7' -draw 'circle 76,86 76,76'
  -fill '#e9ecef' -draw 'rectangle 132,62 148,72'
)
draw btn_snapshot 22 "${camera[@]}"
draw btn_snapshot_flash 22 "${camera[@]}" \
  -fill '#ffd400' -stroke '#c78a00' -strokewidth 3 \
  -draw 'polygon 150,2 158,22 176,18 162,32 174,48 154,40 144,58 140,38 120,36 138,26'

# ---- Tab pictures, 16 x 16 ----
draw tab_screen 16 \
  -fill '#3a3f47' -draw 'roundrectangle 4,10 124,94 8,8' \
  -fill '#4c8ed9' -draw 'rectangle 14,20 114,84' \
  -fill '#9cc6f2' -draw 'polygon 14,20 70,20 14,64' \
  -fill '#5c626b' -draw 'rectangle 54,94 74,110' -draw 'roundrectangle 34,108 94,120 4,4'
draw tab_video 16 \
  -fill '#2b2d31' -draw 'roundrectangle 4,16 124,112 8,8' \
  -fill '#f2f2f2' \
  -draw 'rectangle 12,24 24,34' -draw 'rectangle 12,48 24,58' -draw 'rectangle 12,72 24,82' -draw 'rectangle 12,96 24,104' \
  -draw 'rectangle 104,24 116,34' -draw 'rectangle 104,48 116,58' -draw 'rectangle 104,72 116,82' -draw 'rectangle 104,96 116,104' \
  -fill '#d9473f' -draw 'polygon 50,40 50,88 86,64'
draw tab_audio 16 \
  -fill '#3a3f47' -draw 'polygon 6,46 28,46 58,18 58,110 28,82 6,82' \
  -fill none -stroke '#2f7d32' -strokewidth 10 \
  -draw 'ellipse 56,64 24,24 -50,50' -draw 'ellipse 56,64 52,52 -50,50'
draw tab_general 16 \
  -stroke '#5c626b' -strokewidth 8 -draw 'line 10,28 118,28' -draw 'line 10,64 118,64' -draw 'line 10,100 118,100' \
  -stroke '#1f3f73' -strokewidth 4 -fill '#4f7fc7' \
  -draw 'roundrectangle 30,16 50,40 4,4' -draw 'roundrectangle 78,52 98,76 4,4' -draw 'roundrectangle 46,88 66,112 4,4'

# ---- Application icon: a capture frame around the record dot ----
app_art=(
  -fill '#23303f' -draw 'roundrectangle 8,8 247,247 40,40'
  -stroke '#e9eef4' -strokewidth 14 -fill none
  -draw 'polyline 44,92 44,44 92,44' -draw 'polyline 164,44 212,44 212,92'
  -draw 'polyline 212,164 212,212 164,212' -draw 'polyline 92,212 44,212 44,164'
  -stroke none -fill '#b3120f' -draw 'circle 128,128 128,70'
  -fill '#ef3b33' -draw 'circle 128,128 128,78'
  -fill '#ff9e96' -draw 'ellipse 112,106 18,11 0,360'
)
for size in 16 24 32 48 256; do
  convert -size 256x256 xc:none "${app_art[@]}" -filter Lanczos -resize ${size}x${size} \
    -depth 8 -define png:color-type=6 "$work/app_$size.png"
done

# Disabled toolbar pictures: grey and faded, as a disabled button shows them.
for name in btn_record btn_pause btn_stop btn_snapshot btn_snapshot_flash; do
  for picture in $(pictures "$name" 22); do
    convert "$picture" -colorspace Gray -colorspace sRGB -channel A -evaluate multiply 0.45 +channel \
      -define png:color-type=6 "${picture%.png}_off.png"
  done
  convert $(pictures "$name" 22 | sed 's/\.png$/_off.png/') "${name}_off.ico"
done

for name in btn_record btn_pause btn_stop btn_snapshot btn_snapshot_flash; do
  convert $(pictures "$name" 22) "$name.ico"
done
for name in tab_screen tab_video tab_audio tab_general; do
  convert $(pictures "$name" 16) "$name.ico"
done
convert "$work"/app_16.png "$work"/app_24.png "$work"/app_32.png "$work"/app_48.png "$work"/app_256.png app.ico
echo "art: icons written to $(pwd)"
