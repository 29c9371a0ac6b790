#!/usr/bin/env bash
# Installs the toolkit from the Windows build tree, builds
# toolkit/tests/outside_program in a folder outside the tree with
# find_package and one target_link_libraries, runs it under Wine and checks
# what it saw: the dialog's text, the grid's headings, the drawn pixels, and
# its SVG file as rsvg-convert renders it. Arguments: the source tree and the
# build tree.
set -uo pipefail
root=$1 build=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
source "$root/scripts/wine-arch.sh"
cp -r "$root/toolkit/tests/outside_program" "$work/program"
if ! cmake -S "$work/program" -B "$work/program/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
       -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null ||
   ! cmake --build "$work/program/build" >/dev/null; then
  echo "FAIL: the outside program did not build"; exit 1
fi

mkdir "$work/run"
out=$(cd "$work/run" && bash "$root/scripts/wine-run.sh" "$work/program/build/outside.exe" | tr -d '\r')
expected=$'dialog: Korvanthide\ngrid: Colour,Count\ndrawing: 0000FF FFFFFF'
if [[ $out != "$expected" ]]; then
  echo "FAIL: the program saw"; echo "$out"; echo "instead of"; echo "$expected"; exit 1
fi
# The driver's file: the red square in the lower left quarter of the page.
if ! rsvg-convert -o "$work/run/outside.png" "$work/run/outside.svg"; then
  echo "FAIL: rsvg-convert refused outside.svg"; exit 1
fi
/usr/bin/python3 - "$work/run/outside.png" <<'PY' || exit 1
import sys
from PIL import Image
page = Image.open(sys.argv[1]).convert("RGBA")
w, h = page.size
lower_left, upper_right = page.getpixel((w // 8, h - h // 8)), page.getpixel((w - w // 8, h // 8))
if lower_left[:3] != (255, 0, 0) or lower_left[3] != 255 or upper_right[3] != 0:
    sys.exit(f"FAIL: outside.svg shows {lower_left} lower left and {upper_right} upper right")
PY
echo "outside_program_test: passed"
