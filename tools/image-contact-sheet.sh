#!/usr/bin/env bash
# Puts every rendered picture of the image table on one sheet, labelled with id, name, frame size and frame count,
# over a dark checkerboard so that white and transparent parts show. Backgrounds first, then the wide strips, then buttons and icons.
# Usage: image-contact-sheet.sh images.txt rendered-png-dir out.png
set -euo pipefail
table=$1 dir=$2 out=$3
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
large=() wide=() small=()
while read -r id name fw h frames _; do
  [[ $id =~ ^[0-9]+$ ]] || continue
  entry=(-label "$id $name  ${fw}x${h} x$frames" "$dir/${id}_${name}.png")
  if (( fw * frames > 600 )); then wide+=("${entry[@]}")
  elif (( fw * frames >= 300 && h >= 100 )); then large+=("${entry[@]}")
  else small+=("${entry[@]}"); fi
done <"$table"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 16x16 xc:'#596379' -fill '#68728A' -draw 'rectangle 0,0 7,7 rectangle 8,8 15,15' "$tmp/tile.png"
common=(-font "$font" -pointsize 13 -fill '#FFFFFF' -texture "$tmp/tile.png")
montage "${common[@]}" "${large[@]}" -tile 4x -geometry +10+10 "$tmp/large.png"
montage "${common[@]}" "${wide[@]}" -tile 1x -geometry +10+6 "$tmp/wide.png"
montage "${common[@]}" "${small[@]}" -tile 4x -geometry "520x150>+10+6" "$tmp/small.png"
convert "$tmp/large.png" "$tmp/wide.png" "$tmp/small.png" -background '#596379' -gravity northwest -append +repage -depth 8 "$out"
