#!/usr/bin/env bash
# Reads on the host what the Windows drivers' tests left in the build
# directory: the printed page through poppler.
set -euo pipefail
cd "$1"
pdf=$(find . -name printer_page.pdf | head -n 1)
[ -n "$pdf" ] || { echo "no printed page"; exit 1; }
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || { echo "pages: $pages"; exit 1; }
pdftotext "$pdf" - | grep -q Farbtafel || { echo "text not found"; exit 1; }
# The solid rectangle's red is on the page.
pdftoppm -r 36 "$pdf" | /usr/bin/python3 -c '
import sys
data = sys.stdin.buffer.read()
parts = data.split(b"\n", 3)
pixels = parts[3]
red = sum(1 for i in range(0, len(pixels), 3) if pixels[i] > 200 and pixels[i + 1] < 60 and pixels[i + 2] < 60)
sys.exit(0 if red > 100 else 1)
' || { echo "no red"; exit 1; }
# The printed image: a green rectangle stretched over the page.
image=$(find . -name print_image_page.pdf | head -n 1)
[ -n "$image" ] || { echo "no printed image"; exit 1; }
pdftoppm -r 36 "$image" | /usr/bin/python3 -c '
import sys
data = sys.stdin.buffer.read()
pixels = data.split(b"\n", 3)[3]
green = sum(1 for i in range(0, len(pixels), 3) if pixels[i] < 60 and 120 < pixels[i + 1] < 200 and pixels[i + 2] < 60)
sys.exit(0 if green > 1000 else 1)
' || { echo "no green image"; exit 1; }
# The metafiles: libwmf draws the placeable file, emf2svg converts the
# enhanced one for librsvg.
wmf=$(find . -name picture.wmf | head -n 1)
emf=$(find . -name picture.emf | head -n 1)
[ -n "$wmf" ] && [ -n "$emf" ] || { echo "no metafiles"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wmf2gd -t png -o "$work/wmf.png" "$wmf" || { echo "wmf2gd refused the placeable file"; exit 1; }
emf2svg-conv -i "$emf" -o "$work/emf.svg" || { echo "emf2svg refused the enhanced file"; exit 1; }
rsvg-convert -o "$work/emf.png" "$work/emf.svg" || { echo "librsvg refused the converted file"; exit 1; }
for png in "$work/wmf.png" "$work/emf.png"; do
  /usr/bin/python3 -c '
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB")
red = sum(1 for p in im.getdata() if p[0] > 200 and p[1] < 60 and p[2] < 60)
sys.exit(0 if red > 100 else 1)
' "$png" || { echo "no red in $png"; exit 1; }
done
echo "printed page, image and metafiles read"
