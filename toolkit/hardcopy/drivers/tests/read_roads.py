#!/usr/bin/python3
"""Renders each road's file with the reader of its format and compares it
with the bitmap the same picture was drawn on: both are cut into 32 by 24
cells, a cell is inked when one of its pixels is off white by more than 60,
and at least 95 % of the cells outside the text must agree. LibreOffice
shows a CGM picture on black: there a cell is inked off black."""
import os
import re
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

COLUMNS, ROWS = 32, 24


def inked_cells(image, ground=255, off_black=False):
    """The cells holding a pixel off the ground by more than 60; with
    off_black, only pixels that also show on a black ground."""
    w, h = image.size
    px = image.load()
    cells = set()
    for y in range(h):
        for x in range(w):
            c = px[x, y][:3]
            if max(abs(ground - v) for v in c) > 60 and (not off_black or max(c) > 60):
                cells.add((x * COLUMNS // w, y * ROWS // h))
    return cells


def text_cells():
    # The text runs from x 0.05 to 0.35 at y 0.15 (user units, y up): its
    # cells and their neighbours are left out, since fonts differ. So is the
    # ring of cells at the page's edge, where the area outline lies half
    # outside the page and readers keep or drop that half.
    cells = {(x, y) for x in range(COLUMNS) for y in range(ROWS) if x in (0, COLUMNS - 1) or y in (0, ROWS - 1)}
    for cx in range(int(0.05 * COLUMNS) - 1, int(0.40 * COLUMNS) + 2):
        for cy in range(int((1 - 0.15) * ROWS) - 2, int((1 - 0.15) * ROWS) + 2):
            cells.add((cx, cy))
    return cells


def hp2xx_page(file, out):
    """hp2xx's picture of the P1-P2 page, turned back upright.

    hp2xx takes the presets -x -X -y -Y only as the least extent: it widens
    the picture by the corners of RA, CI and WG taken in user units, not
    scaled, so the page is cut out of its picture by the coordinate range it
    reports. A page turned by RO 90 it draws turned, point (x, y) at (-y, x);
    the cut-out is turned back."""
    corners, turn = None, 0
    for line in open(file, encoding="latin-1"):
        if line.startswith("IN; IP"):
            corners = [int(v) for v in line.split("IP")[1].split()]
        elif line.startswith("RO"):
            turn = int(line[2:].split(";")[0])
    x1, y1, x2, y2 = corners
    if turn == 90:
        x1, y1, x2, y2 = -y2, x1, -y1, x2
    log = subprocess.run(["hp2xx", "-m", "png", "-d", "150", "-x", str(x1), "-X", str(x2), "-y", str(y1), "-Y", str(y2),
                          "-f", out, file], check=True, capture_output=True, text=True)
    found = re.search(r"Coordinate range: \(([-+.\deE]+), ([-+.\deE]+)\) \.\.\. \(([-+.\deE]+), ([-+.\deE]+)\)",
                      log.stdout + log.stderr)
    if found is None:
        raise RuntimeError(f"hp2xx reported no coordinate range for {file}")
    r0, s0, r1, s1 = map(float, found.groups())
    picture = Image.open(out).convert("RGB")
    w, h = picture.size
    page = picture.crop((round((x1 - r0) / (r1 - r0) * w), round((s1 - y2) / (s1 - s0) * h),
                         round((x2 - r0) / (r1 - r0) * w), round((s1 - y1) / (s1 - s0) * h)))
    return page.transpose(Image.Transpose.ROTATE_270) if turn == 90 else page


def libreoffice_page(file, page_w, page_h, work):
    """LibreOffice's picture of a CGM file, as high as the whole picture.

    It lays the picture on its own page at the page's width, top edge to top
    edge, and cuts what falls below the page: those rows are filled with the
    black ground it paints, and the share of the rows it shows is given
    with the picture."""
    subprocess.run(["timeout", "300", "soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                    "--convert-to", "pdf", "--outdir", work, file], check=True, capture_output=True)
    base = os.path.splitext(os.path.basename(file))[0]
    subprocess.run(["pdftoppm", "-r", "72", "-png", "-singlefile", os.path.join(work, base + ".pdf"),
                    os.path.join(work, "lo")], check=True)
    seen = Image.open(os.path.join(work, "lo.png")).convert("RGB")
    w = seen.size[0]
    whole = Image.new("RGB", (w, round(w * page_h / page_w)), "black")
    whole.paste(seen, (0, 0))
    return whole, seen.size[1] / whole.size[1]


def render(file, size, work):
    w, h = size
    page_w, page_h, offset_x, offset_y = map(int, open(file + ".page").read().split())
    out = os.path.join(work, "page.png")
    if file.endswith(".ps"):
        subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m",
                        f"-dDEVICEWIDTHPOINTS={page_w}", f"-dDEVICEHEIGHTPOINTS={page_h}", "-dFIXEDMEDIA",
                        f"-r{72.0 * w / page_w:.4f}", "-o", out, file], check=True)
    elif file.endswith(".svg"):
        subprocess.run(["rsvg-convert", "-b", "white", "-w", str(w), "-h", str(h), "-o", out, file], check=True)
    elif file.endswith(".png"):
        out = file
    elif file.endswith(".pdf"):
        # The page lies at its offsets on the paper: cut it out at 72 dpi.
        subprocess.run(["pdftoppm", "-r", "72", "-png", "-singlefile", file, os.path.join(work, "paper")], check=True)
        paper = Image.open(os.path.join(work, "paper.png")).convert("RGB")
        paper.crop((offset_x, offset_y, offset_x + page_w, offset_y + page_h)).save(out)
    elif file.endswith(".emf"):
        svg = os.path.join(work, "emf.svg")
        subprocess.run(["emf2svg-conv", "-i", file, "-o", svg], check=True)
        # At the file's own size: its hairlines would fade if scaled down.
        subprocess.run(["rsvg-convert", "-b", "white", "-o", out, svg], check=True)
    elif file.endswith(".wmf"):
        subprocess.run(["wmf2gd", "-t", "png", "-o", out, file], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    elif file.endswith(".plt"):
        return hp2xx_page(file, out)
    elif file.endswith(".cgm"):
        return libreoffice_page(file, page_w, page_h, work)
    elif file.endswith(".dxf"):
        import ezdxf
        doc = ezdxf.readfile(file)
        image = Image.new("RGB", (w, h), "white")
        draw = ImageDraw.Draw(image)
        k = w / (page_w / 72.0)

        def at(p):
            return (p[0] * k, h - p[1] * k)
        for e in doc.modelspace():
            kind = e.dxftype()
            if kind == "LINE":
                draw.line([at(e.dxf.start), at(e.dxf.end)], fill="black")
            elif kind == "POLYLINE":
                draw.line([at(v.dxf.location) for v in e.vertices], fill="black")
            elif kind == "SOLID":
                a, b, c, d = (at(e.dxf.vtx0), at(e.dxf.vtx1), at(e.dxf.vtx2), at(e.dxf.vtx3))
                draw.polygon([a, b, d, c], fill="black")
            elif kind in ("CIRCLE", "ARC"):
                cx, cy = at(e.dxf.center)
                r = e.dxf.radius * k
                draw.ellipse([cx - r, cy - r, cx + r, cy + r], outline="black")
        image.save(out)
    # Cells are taken in proportion to the picture, whatever its size.
    return Image.open(out).convert("RGB")


def text_found(file):
    """Whether the picture's text is in the file as its reader sees it."""
    if file.endswith(".ps"):
        out = subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-o", "-", file],
                             check=True, capture_output=True, text=True).stdout
        return "Farbtafel" in out
    if file.endswith(".dxf"):
        import ezdxf
        return any(e.dxf.text == "Farbtafel" for e in ezdxf.readfile(file).modelspace().query("TEXT"))
    if file.endswith(".png"):
        return True  # raster pages carry no texts
    if file.endswith(".pdf"):
        out = subprocess.run(["pdftotext", file, "-"], check=True, capture_output=True, text=True).stdout
        return "Farbtafel" in out
    # LibreOffice cuts the CGM text off its page; the CGM tests find it there.
    if file.endswith(".emf") or file.endswith(".wmf") or file.endswith(".cgm"):
        data = open(file, "rb").read()
        return b"Farbtafel" in data or "Farbtafel".encode("utf-16-le") in data
    data = open(file, encoding="latin-1").read()
    return ("LBFarbtafel" if file.endswith(".plt") else ">Farbtafel<") in data


def main(directory):
    failures = 0
    for name in ("road.ps", "road.svg", "road.png", "road.dxf", "road.plt", "road2.plt", "road.pdf", "road.emf", "road.wmf",
                 "road.cgm"):
        file = os.path.join(directory, name)
        screen = Image.open(file + ".screen.ppm").convert("RGB")
        with tempfile.TemporaryDirectory() as work:
            reader = render(file, screen.size, work)
        skip = text_cells()
        if name.endswith(".cgm"):
            # On LibreOffice's black ground what the picture draws in black
            # does not show, on either side; nor do the rows it cuts.
            reader, seen = reader
            skip |= {(x, y) for x in range(COLUMNS) for y in range(ROWS) if (y + 1) / ROWS > seen}
            a, b = inked_cells(screen, off_black=True) - skip, inked_cells(reader, ground=0) - skip
        else:
            a, b = inked_cells(screen) - skip, inked_cells(reader) - skip
        total = COLUMNS * ROWS - len(skip)
        agree = total - len(a ^ b)
        share = agree / total
        print(f"{name}: {agree} of {total} cells agree ({share:.1%})")
        if share < 0.95:
            failures += 1
        if not text_found(file):
            print(f"{name}: the text is missing")
            failures += 1
        # The solid rectangle's centre (user 0.425, 0.45) in its colour,
        # where the format carries RGB.
        if name in ("road.ps", "road.svg", "road.png", "road.pdf", "road.emf", "road.wmf"):
            w, h = reader.size
            r, g, b = reader.getpixel((int(0.425 * w), int((1 - 0.45) * h)))
            if abs(r - 255) > 48 or g > 48 or b > 48:
                print(f"{name}: the solid rectangle is ({r}, {g}, {b})")
                failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
