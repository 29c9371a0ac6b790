#!/usr/bin/python3
"""Decodes every corpus image with image_dump and compares the pixels with
readers nobody here wrote: python3-pil for PNG, ImageMagick for BMP.
Damaged files must give an error or pixels, never a crash. Then writes
BMP, PCX and PNG files and reads them back with those readers and pngcheck."""
import os
import struct
import subprocess
import sys
import tempfile
import warnings

from PIL import Image

warnings.simplefilter("ignore")

dump, data = sys.argv[1], sys.argv[2]
failures = []


def decode(path, code):
    run = subprocess.run([dump, path, str(code)], capture_output=True)
    if run.returncode != 0:
        failures.append(f"{path}: image_dump exited {run.returncode}: {run.stderr[-400:]!r}")
        return None, b""
    head, _, pixels = run.stdout.partition(b"\n")
    error, partial, width, height = map(int, head.split())
    if error != 0 and pixels:
        failures.append(f"{path}: error {error} but pixels written")
    return (error, partial, width, height), pixels


def png_files(folder):
    for name in sorted(os.listdir(folder)):
        if name.endswith(".png"):
            yield os.path.join(folder, name)


def check_png(path):
    with open(path, "rb") as f:
        head = f.read(33)
    depth, colour_type, interlace = head[24], head[25], head[28]
    result, pixels = decode(path, 15)
    if result is None:
        return
    if colour_type not in (2, 3, 6) or interlace != 0:
        if result[0] != 27:
            failures.append(f"{path}: colour type {colour_type}, interlace {interlace}: error {result[0]}, not 27")
        return
    if result[0] != 0:
        failures.append(f"{path}: error {result[0]}")
        return
    image = Image.open(path)
    # For 16-bit samples python3-pil keeps the high bytes, as the reader does.
    expected = image.convert("RGB").tobytes()
    if bytes(expected) != pixels:
        failures.append(f"{path}: pixels differ from python3-pil")


def check_must_not_crash(folder, code):
    for name in sorted(os.listdir(folder)):
        decode(os.path.join(folder, name), code)


def imagemagick_rgb(path):
    return subprocess.run(["convert-im6.q16", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def check_bmp_good(path):
    result, pixels = decode(path, 1)
    if result is None:
        return
    name = os.path.basename(path)
    if name == "pal8os2.bmp":
        if result[0] != 27:
            failures.append(f"{path}: error {result[0]}, not 27")
        return
    if result[0] != 0:
        failures.append(f"{path}: error {result[0]}")
        return
    expected = imagemagick_rgb(path)
    with open(path, "rb") as f:
        head = f.read(64)
    bits = struct.unpack_from("<H", head, 28)[0]
    if bits == 16:
        # Five or six bits a channel: compare the top five.
        expected = bytes(b & 0xF8 for b in expected)
        pixels = bytes(b & 0xF8 for b in pixels)
    if expected != pixels:
        failures.append(f"{path}: pixels differ from ImageMagick")


for folder in ("png/pngsuite", "png/testpngs"):
    for path in png_files(os.path.join(data, folder)):
        check_png(path)
for folder in ("png/testpngs/crashers", "png/testpngs/badpal"):
    check_must_not_crash(os.path.join(data, folder), 15)
for path in sorted(os.listdir(os.path.join(data, "bmp/g"))):
    check_bmp_good(os.path.join(data, "bmp/g", path))
for folder in ("bmp/q", "bmp/b", "bmp/x"):
    check_must_not_crash(os.path.join(data, folder), 1)
# Inputs the fuzzers once found, read as what they are recognised as.
findings = os.path.join(os.path.dirname(__file__), "../../../../fuzz/findings")
for target in ("image_info", "bmp", "pcx", "png", "icon"):
    folder = os.path.join(findings, target)
    if os.path.isdir(folder):
        check_must_not_crash(folder, 0)

def sample(width, height):
    out = bytearray()
    for y in range(height):
        for x in range(width):
            out += bytes((x * 37 % 256, y * 91 % 256, (x + y) * 13 % 256))
    return bytes(out)


def png_chunks(path):
    with open(path, "rb") as f:
        data = f.read()
    pos, tags = 8, []
    while pos + 8 <= len(data):
        length, tag = struct.unpack_from(">I4s", data, pos)
        tags.append(tag.decode("latin-1"))
        pos += 12 + length
    return tags


with tempfile.TemporaryDirectory() as scratch:
    for width, height in ((3, 2), (67, 41)):
        expected = sample(width, height)
        for code, ext in ((1, "bmp"), (2, "pcx"), (15, "png")):
            path = os.path.join(scratch, f"area.{ext}")
            if subprocess.run([dump, "--write", str(code), str(width), str(height), path]).returncode != 0:
                failures.append(f"writing {ext} failed")
                continue
            if ext == "png":
                check = subprocess.run(["pngcheck", path], capture_output=True, text=True)
                if check.returncode != 0:
                    failures.append(f"pngcheck refuses the written PNG: {check.stdout}")
                if png_chunks(path).count("IDAT") != 1:
                    failures.append(f"written PNG has not one IDAT: {png_chunks(path)}")
                got = Image.open(path).convert("RGB").tobytes()
            else:
                got = imagemagick_rgb(path)
            if got != expected:
                failures.append(f"written {ext} {width}x{height} reads back differently")

for f in failures:
    print(f)
sys.exit(1 if failures else 0)
