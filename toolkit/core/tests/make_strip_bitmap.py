#!/usr/bin/env python3
"""Writes a 24-bit BMP holding `count` toolbar images of width x height side
by side, each filled with its own colour and framed in black, so that tests
can tell the images apart.

usage: make_strip_bitmap.py OUT WIDTH HEIGHT COUNT
"""
import struct
import sys


def main():
    out, width, height, count = sys.argv[1], *map(int, sys.argv[2:5])
    total = width * count
    stride = (total * 3 + 3) & ~3
    colours = [(0xE0, 0x40, 0x40), (0x40, 0xA0, 0x40), (0x40, 0x40, 0xE0),
               (0xE0, 0xC0, 0x30), (0x30, 0xC0, 0xC0), (0xC0, 0x30, 0xC0)]
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(total):
            image, ix = divmod(x, width)
            edge = ix in (0, width - 1) or y in (0, height - 1)
            r, g, b = (0, 0, 0) if edge else colours[image % len(colours)]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))  # bottom row first
    header = struct.pack("<IiiHHIIiiII", 40, total, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(out, "wb") as f:
        f.write(file_header + header + pixels)


if __name__ == "__main__":
    main()
