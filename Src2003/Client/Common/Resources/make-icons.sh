#!/usr/bin/env bash
# Draws the bundled fallback pictures (used where the icon theme lacks one)
# and the splash picture. Needs ImageMagick; the results are committed, so the
# build itself never runs this.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p icons
c() { convert -size 16x16 xc:none "$@"; }

c -fill '#e8c35a' -stroke '#9a7a22' -draw 'polygon 1,4 6,4 7,5 14,5 14,13 1,13' icons/folder.png
c -fill '#f3d77f' -stroke '#9a7a22' -draw 'polygon 1,4 6,4 7,5 13,5 13,7 4,7 1,13' \
  -fill '#f6e4a8' -draw 'polygon 4,7 15,7 13,13 1,13' icons/folder-open.png
c -fill white -stroke '#6b6b6b' -draw 'polygon 3,1 10,1 13,4 13,15 3,15' \
  -stroke '#3465a4' -draw 'line 5,6 11,6' -draw 'line 5,8 11,8' -draw 'line 5,10 11,10' -draw 'line 5,12 9,12' \
  icons/document.png
c -fill '#eeeeee' -stroke '#a0a0a0' -draw 'polygon 3,1 10,1 13,4 13,15 3,15' \
  -stroke '#c0c0c0' -draw 'line 5,6 11,6' -draw 'line 5,8 11,8' -draw 'line 5,10 9,10' icons/document-unread.png
arrow() { c -fill '#4e9a06' -stroke '#2c5a02' -draw "polygon $1" "icons/$2.png"; }
arrow '1,8 7,2 7,5 14,5 14,11 7,11 7,14' go-previous
arrow '15,8 9,2 9,5 2,5 2,11 9,11 9,14' go-next
arrow '8,1 2,7 5,7 5,14 11,14 11,7 14,7' go-up
arrow '8,15 2,9 5,9 5,2 11,2 11,9 14,9' go-down
arrow '8,1 2,7 5,7 5,10 11,10 11,7 14,7' go-top
c -fill none -stroke '#555753' -strokewidth 2 -draw 'circle 6,6 6,2' -draw 'line 9,9 14,14' icons/edit-find.png
c -fill '#fce94f' -stroke '#555753' -strokewidth 2 -draw 'circle 6,6 6,2' -draw 'line 9,9 14,14' icons/system-search.png
c -fill '#d3d7cf' -stroke '#555753' -draw 'rectangle 1,6 14,12' -fill white -draw 'rectangle 4,1 11,6' \
  -draw 'rectangle 4,10 11,15' icons/document-print.png
c -fill white -stroke '#6b6b6b' -draw 'rectangle 1,1 9,11' -draw 'rectangle 6,4 14,14' icons/edit-copy.png
c -fill '#3465a4' -stroke '#204a87' -draw 'circle 8,8 8,1' -fill white -stroke none \
  -font DejaVu-Sans-Bold -pointsize 11 -gravity center -annotate +0+0 '?' icons/help-browser.png
c -stroke '#555753' -draw 'line 3,3 3,13' -draw 'line 3,7 7,7' -draw 'line 3,12 7,12' \
  -fill '#e8c35a' -draw 'rectangle 1,1 5,4' -draw 'rectangle 8,5 13,9' -draw 'rectangle 8,10 13,14' \
  icons/view-tree.png

# The splash: a dark blue gradient with the program's name.
convert -size 972x451 gradient:'#1f3b66'-'#0b1a33' \
  -fill '#f0e6c8' -font DejaVu-Serif-Bold -pointsize 84 -gravity center -annotate +0-40 'Pandecta' \
  -fill '#b8c4d8' -font DejaVu-Sans -pointsize 22 -annotate +0+40 'Legislação tributária estadual' \
  -depth 8 splash.png
