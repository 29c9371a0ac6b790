#!/usr/bin/env python3
"""Draws the converter's icon: 16, 32 and 48 pixels square, 256 colours.
Four quadrants in red, green, blue and a grey ramp, with a white centre
square, on a palette of a 6x6x6 colour cube plus greys."""
import struct
import sys
from pathlib import Path


def palette():
    entries = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    entries += [(v * 255 // 39, v * 255 // 39, v * 255 // 39) for v in range(40)]
    return entries[:256]


def cube(r, g, b):
    return (r // 51) * 36 + (g // 51) * 6 + (b // 51)


def pixel(x, y, n):
    h = n // 2
    q = n // 4
    if q <= x < n - q and q <= y < n - q:
        return cube(255, 255, 255)
    if x < h and y < h:
        return cube(255, 0, 0)
    if x >= h and y < h:
        return cube(0, 255, 0)
    if x < h:
        return cube(0, 0, 255)
    return 216 + (x + y) * 39 // (2 * n)


def image(n):
    pal = palette()
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    rows = []
    for y in range(n - 1, -1, -1):  # bottom-up
        rows.append(bytes(pixel(x, y, n) for x in range(n)))
    xor = b"".join(rows)
    mask_stride = ((n + 31) // 32) * 4
    mask = bytes(mask_stride * n)  # fully opaque
    return header + colours + xor + mask


def icon():
    sizes = (16, 32, 48)
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else
               Path(__file__).resolve().parent.parent / "resources" / "chromalversor.ico")
    out.write_bytes(icon())
