#!/usr/bin/python3
"""A CGM picture recorded by the in-memory CGM device is recognised as CGM
(code 6), and LibreOffice, converting it to PDF, shows the red rectangle
in the middle of the page and white at its corners."""
import glob
import os
import subprocess
import sys
import tempfile

from PIL import Image

sample = sys.argv[1]
with tempfile.TemporaryDirectory() as scratch:
    cgm = os.path.join(scratch, "red.cgm")
    code = subprocess.run([sample, cgm], capture_output=True, text=True, check=True).stdout.strip()
    if code != "6":
        sys.exit(f"recognised as {code}, not 6")
    profile = "file://" + os.path.join(scratch, "profile")
    subprocess.run(["libreoffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "pdf",
                    "--outdir", scratch, cgm], check=True, capture_output=True, timeout=240)
    pdf = os.path.join(scratch, "red.pdf")
    subprocess.run(["pdftoppm", "-r", "30", "-png", pdf, os.path.join(scratch, "page")], check=True)
    page = Image.open(sorted(glob.glob(os.path.join(scratch, "page*.png")))[0]).convert("RGB")
    w, h = page.size
    # The picture fills the page as LibreOffice places it; look for red in
    # the middle and no red near the corners of the picture's bounding box.
    red = [(x, y) for y in range(h) for x in range(w)
           if page.getpixel((x, y))[0] > 200 and page.getpixel((x, y))[1] < 60 and page.getpixel((x, y))[2] < 60]
    if not red:
        sys.exit("no red in the rendered page")
    xs = [x for x, _ in red]
    ys = [y for _, y in red]
    box_w, box_h = max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
    if abs(box_w / box_h - 4 / 3) > 0.15:
        sys.exit(f"red area {box_w} by {box_h} is not the rectangle's shape")
    print(f"red rectangle {box_w} by {box_h} pixels on a {w} by {h} page")
