#!/usr/bin/env bash
# Reads on the host what the Windows drivers' tests left in the build
# directory: the printed page through poppler.
set -euo pipefail
cd "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
# The picture printed at a page rotation of 90 degrees: turned a quarter to
# the left in the middle half of the page (the paper cut at the page's
# offsets, 72 dpi), white around it.
turned=$(find . -name printer_turned.pdf | head -n 1)
[ -n "$turned" ] || { echo "no turned picture"; exit 1; }
pdftoppm -r 72 -png -singlefile "$turned" "$work/turned"
/usr/bin/python3 -c '
import sys
from PIL import Image
paper = Image.open(sys.argv[1]).convert("RGB")
w, h, ox, oy = map(int, open(sys.argv[2]).read().split())
def at(fx, fy):
    return paper.getpixel((ox + round(fx * w), oy + round(fy * h)))
def near(c, want):
    return all(abs(a - b) < 80 for a, b in zip(c, want))
wanted = {(0.375, 0.375): (0, 255, 0), (0.625, 0.375): (0, 0, 0), (0.375, 0.625): (255, 0, 0),
          (0.625, 0.625): (0, 0, 255), (0.2, 0.5): (255, 255, 255), (0.8, 0.5): (255, 255, 255),
          (0.5, 0.2): (255, 255, 255), (0.5, 0.8): (255, 255, 255)}
wrong = {k: at(*k) for k, c in wanted.items() if not near(at(*k), c)}
print(wrong) if wrong else None
sys.exit(1 if wrong else 0)
' "$work/turned.png" "$turned.page" || { echo "the turned picture is not where its page puts it"; exit 1; }
# Option 7 prints the red rectangle black; the end of page starts a second page.
mono=$(find . -name printer_mono.pdf | head -n 1)
[ -n "$mono" ] || { echo "no monochrome page"; exit 1; }
[ "$(pdfinfo "$mono" | awk '/^Pages:/ {print $2}')" = 2 ] || { echo "the monochrome job is not two pages"; exit 1; }
pdftoppm -r 36 -f 1 -l 1 "$mono" | /usr/bin/python3 -c '
import sys
pixels = sys.stdin.buffer.read().split(b"\n", 3)[3]
red = sum(1 for i in range(0, len(pixels), 3) if pixels[i] > 200 and pixels[i + 1] < 60)
black = sum(1 for i in range(0, len(pixels), 3) if max(pixels[i:i + 3]) < 60)
sys.exit(0 if red == 0 and black > 100 else 1)
' || { echo "the monochrome page is not black and white"; exit 1; }
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
# The 70,000-point polyline in pieces plays as one line: libwmf draws the
# whole diagonal, from (20, 20) to (736, 520) of the 756 by 540 page.
long=$(find . -name long.wmf | head -n 1)
[ -n "$long" ] || { echo "no long polyline"; exit 1; }
wmf2gd -t png -o "$work/long.png" "$long" || { echo "wmf2gd refused the long polyline"; exit 1; }
/usr/bin/python3 -c '
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("L")
w, h = im.size
px = im.load()
def dark_near(x, y):
    return any(px[min(max(x + dx, 0), w - 1), min(max(y + dy, 0), h - 1)] < 128
               for dx in range(-3, 4) for dy in range(-3, 4))
gaps = [t for t in (k / 40 for k in range(1, 40))
        if not dark_near(round((20 + 716 * t) / 756 * (w - 1)), round((1 - (20 + 500 * t) / 540) * (h - 1)))]
sys.exit(1 if gaps else 0)
' "$work/long.png" || { echo "the long polyline has gaps"; exit 1; }
echo "printed page, image and metafiles read"
