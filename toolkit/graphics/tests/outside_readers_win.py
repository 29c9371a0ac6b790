#!/usr/bin/python3
"""Files written by the Windows toolkit under Wine, opened by readers nobody
here wrote: the saved areas by pngcheck, python3-pil and ImageMagick, the
recorded enhanced metafile by LibreOffice (rendered by pdftoppm)."""
import glob
import os
import subprocess
import sys
import tempfile
import warnings

from PIL import Image

warnings.simplefilter("ignore")
wine_run, program = sys.argv[1], sys.argv[2]
failures = []
with tempfile.TemporaryDirectory() as scratch:
    run = subprocess.run([wine_run, program], cwd=scratch, capture_output=True, text=True, timeout=240)
    if run.returncode != 0:
        sys.exit(f"sample program failed ({run.returncode}): {run.stdout} {run.stderr}")
    w, h = 31, 17
    expected = b"".join(bytes((x * 8 % 256, y * 15 % 256, (x + y) * 5 % 256)) for y in range(h) for x in range(w))
    check = subprocess.run(["pngcheck", os.path.join(scratch, "area.png")], capture_output=True, text=True)
    if check.returncode != 0:
        failures.append(f"pngcheck: {check.stdout}")
    if Image.open(os.path.join(scratch, "area.png")).convert("RGB").tobytes() != expected:
        failures.append("area.png differs from the area (python3-pil)")
    for name in ("area.bmp", "area.pcx"):
        got = subprocess.run(["convert-im6.q16", os.path.join(scratch, name), "-depth", "8", "rgb:-"],
                             capture_output=True, check=True).stdout
        if got != expected:
            failures.append(f"{name} differs from the area (ImageMagick)")

    profile = "file://" + os.path.join(scratch, "profile")
    subprocess.run(["libreoffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "pdf",
                    "--outdir", scratch, os.path.join(scratch, "slot.emf")], check=True, capture_output=True,
                   timeout=240)
    subprocess.run(["pdftoppm", "-r", "40", "-png", os.path.join(scratch, "slot.pdf"), os.path.join(scratch, "page")],
                   check=True)
    page = Image.open(sorted(glob.glob(os.path.join(scratch, "page*.png")))[0]).convert("RGB")
    pw, ph = page.size
    red = [(x, y) for y in range(ph) for x in range(pw)
           if page.getpixel((x, y))[0] > 200 and page.getpixel((x, y))[1] < 80 and page.getpixel((x, y))[2] < 80]
    if not red:
        failures.append("no red in the rendered metafile")
    else:
        xs = [x for x, _ in red]
        ys = [y for _, y in red]
        print(f"metafile: red {max(xs) - min(xs) + 1} by {max(ys) - min(ys) + 1} on a {pw} by {ph} page")
for f in failures:
    print(f)
sys.exit(1 if failures else 0)
