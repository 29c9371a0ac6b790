#!/usr/bin/python3
"""hp2xx's picture of the HP-GL test's plot against the picture the test
drew, both cut into cells as read_roads.py cuts them: at least 95 % of the
cells outside the text and the page's edge must agree.

Arguments: the plot file and the page's width and height in device units.
The test draws the page's border, eight lines of line types 0..7 from
(50, 50 + 20 t) to (300, 50 + 20 t), a circle of radius 80 round
(500, 300), the text "Hallo" at (400, 100) and a solid quarter pie of
radius 60 round (550, 150) from 0 to 90 degrees (y up)."""
import os
import sys
import tempfile

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from read_roads import COLUMNS, ROWS, hp2xx_page, inked_cells  # noqa: E402

plot, limit_x, limit_y = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
with tempfile.TemporaryDirectory() as work:
    page = hp2xx_page(plot, os.path.join(work, "page.png"))
w, h = page.size
drawn = Image.new("RGB", (w, h), "white")
draw = ImageDraw.Draw(drawn)


def at(x, y):
    return (x / limit_x * (w - 1), (1 - y / limit_y) * (h - 1))


draw.rectangle([at(0, limit_y), at(limit_x, 0)], outline="black", width=2)
for t in range(8):
    draw.line([at(50, 50 + 20 * t), at(300, 50 + 20 * t)], fill="black", width=2)
(cx, cy), (rx, _) = at(500, 300), at(580, 0)
draw.ellipse([cx - (rx - cx), cy - (rx - cx), rx, cy + (rx - cx)], outline="black", width=2)
(px, py), (qx, _) = at(550, 150), at(610, 0)
r = qx - px
draw.pieslice([px - r, py - r, px + r, py + r], 270, 360, fill="black")
skip = {(x, y) for x in range(COLUMNS) for y in range(ROWS) if x in (0, COLUMNS - 1) or y in (0, ROWS - 1)}
(tx1, ty1), (tx2, ty2) = at(380, 150), at(560, 60)
for x in range(int(tx1 * COLUMNS / w), int(tx2 * COLUMNS / w) + 2):
    for y in range(int(ty1 * ROWS / h), int(ty2 * ROWS / h) + 2):
        skip.add((x, y))
a, b = inked_cells(page) - skip, inked_cells(drawn) - skip
total = COLUMNS * ROWS - len(skip)
share = (total - len(a ^ b)) / total
print(f"{total - len(a ^ b)} of {total} cells agree ({share:.1%})")
sys.exit(0 if share >= 0.95 else 1)
