#!/usr/bin/python3
"""Reads the scene file a driver wrote with the reader of its format and
checks what it shows: the solid rectangle blue, the triangle green, the
text's characters, the image's two halves. Exits non-zero, saying why, on
the first thing that is not so. usage: read_scene.py FILE"""
import os
import subprocess
import sys
import tempfile

from PIL import Image

TEXT = "\xe9 \u20ac < & (Farbe)"
# Where the scene puts each thing, as fractions of the page, y up.
BLUE_RECTANGLE = (0.65, 0.75)
GREEN_TRIANGLE = (0.64, 0.30)
IMAGE_LEFT, IMAGE_RIGHT = (0.12, 0.10), (0.28, 0.10)


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True, errors="replace")
    if done.returncode != 0:
        sys.exit(f"{command[0]} refused the file: {done.stdout}{done.stderr}")
    return done.stdout


def near(pixel, colour, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel[:3], colour))


SHAPES = (("solid rectangle", BLUE_RECTANGLE, (0, 0, 255)), ("triangle", GREEN_TRIANGLE, (0, 160, 0)))
IMAGE = (("image's left half", IMAGE_LEFT, (255, 0, 0)), ("image's right half", IMAGE_RIGHT, (0, 0, 255)))


def check_picture(png, places=SHAPES + IMAGE):
    image = Image.open(png).convert("RGB")
    w, h = image.size
    for name, (fx, fy), colour in places:
        pixel = image.getpixel((min(w - 1, int(fx * w)), min(h - 1, int((1 - fy) * h))))
        if not near(pixel, colour):
            sys.exit(f"{png}: the {name} shows {pixel}, not {colour}")


def page_points(file):
    """The page size in points from the file's own head."""
    for line in open(file, encoding="latin-1"):
        if line.startswith("%%BoundingBox:"):
            return [int(v) for v in line.split()[3:5]]
    return [756, 540]


def read_postscript(file, work):
    width, height = page_points(file)
    png = os.path.join(work, "page.png")
    run("gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r72", f"-dDEVICEWIDTHPOINTS={width}",
        f"-dDEVICEHEIGHTPOINTS={height}", "-dFIXEDMEDIA", "-o", png, file)
    check_picture(png)
    text = run("gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-o", "-", file)
    # The fonts are re-encoded to ISO Latin-1, which has no euro sign.
    if "\xe9" not in text or "< & (Farbe)" not in text:
        sys.exit(f"ghostscript's text of {file} lacks the e acute or '< & (Farbe)': {text!r}")


def read_svg(file, work):
    run("xmllint", "--noout", file)
    png = os.path.join(work, "page.png")
    run("rsvg-convert", "-b", "white", "-o", png, file)
    # SVG documents of the driver carry no images.
    check_picture(png, SHAPES)
    text = run("xmllint", "--xpath", "string(//*[local-name()='text'])", file).strip()
    if text != TEXT:
        sys.exit(f"{file}: the text reads {text!r}, not {TEXT!r}")


def read_dxf(file, work):
    import ezdxf
    document = ezdxf.readfile(file)
    auditor = document.audit()
    if auditor.has_errors:
        sys.exit(f"ezdxf finds errors in {file}: {[str(e.message) for e in auditor.errors]}")
    entities = document.modelspace()
    texts = [e.dxf.text for e in entities.query("TEXT")]
    if texts != [TEXT]:
        sys.exit(f"{file}: the texts are {texts!r}, not [{TEXT!r}]")
    dashes = {e.dxf.linetype for e in entities.query("LINE") if e.dxf.hasattr("linetype")}
    if dashes != {"DOT", "DASHED", "DASHDOT", "DIVIDE", "CENTER", "HIDDEN", "PHANTOM"}:
        sys.exit(f"{file}: the lines carry the line types {sorted(dashes)}")
    if len(entities.query("SOLID")) != 2:
        sys.exit(f"{file}: the solid rectangle and triangle are not two SOLIDs")


def read_hpgl(file, work):
    png = os.path.join(work, "page.png")
    run("hp2xx", "-q", "-m", "png", "-f", png, file)
    image = Image.open(png).convert("L")
    if image.getextrema()[0] > 128:
        sys.exit(f"hp2xx draws nothing of {file}")


def read_raster(file, work):
    if file.endswith(".png"):
        run("pngcheck", "-q", file)
    check_picture(file)


READERS = {".ps": read_postscript, ".eps": read_postscript, ".svg": read_svg, ".dxf": read_dxf,
           ".plt": read_hpgl, ".png": read_raster, ".bmp": read_raster}

if __name__ == "__main__":
    name = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        READERS[os.path.splitext(name)[1]](name, work)
