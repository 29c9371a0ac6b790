#!/usr/bin/python3
"""Files written by the Windows toolkit under Wine, opened by readers nobody
here wrote: the saved areas by pngcheck, python3-pil and ImageMagick, the
recorded enhanced metafile by LibreOffice (rendered by pdftoppm). With
"depth8" the sample runs on the display of 8 bits per pixel: the areas are
saved with the palette, and every reader must see the same colours."""
import glob
import os
import subprocess
import sys
import tempfile
import warnings

from PIL import Image

warnings.simplefilter("ignore")
wine_run, program = sys.argv[1], sys.argv[2]
depth8 = sys.argv[3:] == ["depth8"]
failures = []


def saved_layouts(scratch):
    """How the small saves are laid out: BMP bit count and colour table,
    PCX planes and palette tail, PNG colour type and PLTE."""
    bmp = open(os.path.join(scratch, "small.bmp"), "rb").read()
    pcx = open(os.path.join(scratch, "small.pcx"), "rb").read()
    png = open(os.path.join(scratch, "small.png"), "rb").read()
    bits = int.from_bytes(bmp[28:30], "little")
    table = int.from_bytes(bmp[10:14], "little") - 54
    return {"bmp bits": bits, "bmp table": table, "bmp size": len(bmp) == int.from_bytes(bmp[2:6], "little"),
            "pcx planes": pcx[65], "pcx tail": len(pcx) > 769 and pcx[-769] == 12,
            "png type": png[25], "png plte": b"PLTE" in png}

with tempfile.TemporaryDirectory() as scratch:
    run = subprocess.run([wine_run, program], cwd=scratch, capture_output=True, text=True, timeout=240)
    if run.returncode != 0:
        sys.exit(f"sample program failed ({run.returncode}): {run.stdout} {run.stderr}")
    w, h = 31, 17
    expected = b"".join(bytes((x * 8 % 256, y * 15 % 256, (x + y) * 5 % 256)) for y in range(h) for x in range(w))
    for name in ("area.png", "small.png"):
        check = subprocess.run(["pngcheck", os.path.join(scratch, name)], capture_output=True, text=True)
        if check.returncode != 0:
            failures.append(f"pngcheck: {check.stdout}")
    layouts = saved_layouts(scratch)
    depth = int(open(os.path.join(scratch, "depth.txt")).read())
    print(layouts, "display depth", depth)
    if depth8:
        # 2 by 2 at 8 bits: a 1,024-byte colour table, one plane with the
        # 769-byte palette tail, a palette PNG.
        wanted = {"bmp bits": 8 if depth == 8 else f"display depth {depth}", "bmp table": 1024, "bmp size": True, "pcx planes": 1, "pcx tail": True,
                  "png type": 3, "png plte": True}
    else:
        # A BMP keeps the display's depth (Wine shows a 24-bit X screen at
        # 32 bits a pixel); PCX and PNG carry red, green and blue.
        wanted = {"bmp bits": depth, "bmp table": 0,
                  "bmp size": True, "pcx planes": 3, "pcx tail": False, "png type": 2, "png plte": False}
    if layouts != wanted:
        failures.append(f"saved layouts {layouts}, wanted {wanted}")
    pil = {}
    for name in ("area.png", "area.bmp", "area.pcx", "small.png", "small.bmp", "small.pcx"):
        pil[name] = Image.open(os.path.join(scratch, name)).convert("RGB").tobytes()
    if depth8:
        # The palette's colours: every reader sees the ones the display
        # shows, and the small saves are the area's corner.
        got = open(os.path.join(scratch, "area.rgb"), "rb").read()
        for name in ("area.png", "area.bmp", "area.pcx"):
            if pil[name] != got:
                failures.append(f"{name} differs from the bitmap as shown (python3-pil)")
        corner = got[0:6] + got[3 * w:3 * w + 6]
        if any(pil[n] != corner for n in ("small.png", "small.bmp", "small.pcx")):
            failures.append("the small saves differ from the area's corner")
        images = ("area.png", "area.bmp", "area.pcx")
    else:
        if pil["area.png"] != expected:
            failures.append("area.png differs from the area (python3-pil)")
        images = ("area.bmp", "area.pcx")
    for name in images:
        got = subprocess.run(["convert-im6.q16", os.path.join(scratch, name), "-depth", "8", "rgb:-"],
                             capture_output=True, check=True).stdout
        if got != (open(os.path.join(scratch, "area.rgb"), "rb").read() if depth8 else expected):
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
