#!/usr/bin/env bash
# Reads the PDFs that editor_print_test printed through cups-pdf with
# poppler's pdftotext and pdfinfo: text, page count, title and where the
# words stand on the page.
set -uo pipefail
dir=$1
cd "$dir" || { echo "no $dir"; exit 1; }
exec /usr/bin/python3 - <<'PY'
import re, subprocess, sys

failures = []
def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)

def text(pdf):
    return subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout

def info(pdf):
    out = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    return dict((k.strip(), v.strip()) for k, v in (l.split(":", 1) for l in out.splitlines() if ":" in l))

def words(pdf):
    out = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True).stdout
    pages = []
    for page in re.finditer(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>', out, re.S):
        w, h = float(page.group(1)), float(page.group(2))
        ws = [(float(a), float(b), float(c), float(d), t) for a, b, c, d, t in re.findall(
            r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>', page.group(3))]
        pages.append((w, h, ws))
    return pages

three = text("three.pdf").split()
check(three == "First line here Second line Third and last".split(), "three lines: %r" % three)
i = info("three.pdf")
check(i.get("Pages") == "1", "three: one page")
check(i.get("Title", "").startswith("korvthree"), "three: title %r" % i.get("Title"))
p3 = words("three.pdf")
first = p3[0][2][0]
check(abs(first[0] - 144) <= 0.5, "three: first word at x %.2f, not 144" % first[0])
check(first[1] >= 108 - 0.5, "three: first word above the top margin (%.2f)" % first[1])
moved = words("three_left72.pdf")[0][2]
check(len(moved) == len(p3[0][2]) and all(abs((a[0] - b[0]) - 72) <= 0.5 for a, b in zip(p3[0][2], moved)),
      "left 72: every word 72 points further left")

check(text("range.pdf").split() == ["Second", "line"], "range: %r" % text("range.pdf").split())

pages = words("lines300.pdf")
i = info("lines300.pdf")
check(int(i.get("Pages", "0")) == len(pages) and len(pages) > 1, "300 lines on several pages")
found = [t for _, _, ws in pages for (_, _, _, _, t) in ws if t.startswith("line")]
check(found == ["line%d" % k for k in range(1, 301)], "300 lines each once, in order")
for w, h, ws in pages:
    for x0, y0, x1, y1, t in ws:
        if not (x0 >= 72 - 0.5 and y0 >= 72 - 0.5 and x1 <= w + 0.5 and y1 <= h + 0.5):
            check(False, "word %s outside the margins" % t)
            break

i = info("landscape.pdf")
check(i.get("Page rot") == "90", "landscape: page rotation %r" % i.get("Page rot"))
check(text("landscape.pdf").split() == ["Landscape", "page"], "landscape text")

check(info("untitled.pdf").get("Title") == "Untitled", "untitled: title %r" % info("untitled.pdf").get("Title"))

sel = words("selection.pdf")[0][2]
check("".join(t for *_, t in sel) == "ABCDEFGHIJ", "selection: %r" % [t for *_, t in sel])
check(sel and abs(sel[0][0] - 144) <= 0.5, "selection at x 144: %r" % (sel[0][0] if sel else None))

sys.exit(1 if failures else 0)
PY
