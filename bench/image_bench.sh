#!/usr/bin/env bash
# IGrLoadImageData against python3-pil in the same run: a 4096 by 4096 RGB
# picture written by python3-pil as PNG and as 24-bit BMP, read and decoded
# to packed RGB, median of 5 each. Built natively, optimised, without
# sanitizers; then the same program of the Windows tree on the same files
# under Wine. Goals: PNG at most 1.0 of python3-pil, BMP at most 0.9.
# Never run as a test.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-native
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_SANITIZE=OFF >/dev/null || exit 1
cmake --build "$build" --target image_bench >/dev/null || exit 1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
/usr/bin/python3 - "$scratch" <<'PY'
import sys
from PIL import Image
d = sys.argv[1]
size = (4096, 4096)
red = Image.linear_gradient("L").resize(size)
green = Image.effect_noise(size, 40)
blue = Image.radial_gradient("L").resize(size)
picture = Image.merge("RGB", (red, green, blue))
picture.save(f"{d}/picture.png")
picture.save(f"{d}/picture.bmp")
PY
ls -l "$scratch"/picture.* | awk '{print $5, $9}'
ours=$("$(find "$build" -name image_bench -type f | head -n 1)" "$scratch/picture.png" "$scratch/picture.bmp") || exit 1
/usr/bin/python3 - "$scratch" "$ours" <<'PY'
import statistics, sys, time
from PIL import Image
d, ours = sys.argv[1], sys.argv[2]
mine = {line.split()[0].rsplit("/", 1)[1]: float(line.split()[1]) for line in ours.splitlines()}
for name in ("picture.png", "picture.bmp"):
    times = []
    for _ in range(5):
        start = time.perf_counter()
        Image.open(f"{d}/{name}").load()
        times.append((time.perf_counter() - start) * 1000)
    pil = statistics.median(times)
    print(f"{name}: reader {mine[name]:.1f} ms, python3-pil {pil:.1f} ms, ratio {mine[name] / pil:.2f}")
PY

source "$root/scripts/wine-arch.sh"
win=$KORV_WIN_BUILD
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$win" --target image_bench_win >/dev/null || exit 1
source "$root/scripts/wine-env.sh"
wine_env_start "$win" headless >/dev/null || exit 1
echo "IGrLoadImageData under Wine (median of 5):"
"$root/scripts/wine-run.sh" "$(find "$win" -name image_bench_win.exe | head -n 1)" \
    "$("$KORV_WINE" winepath.exe -w "$scratch/picture.png" 2>/dev/null)" \
    "$("$KORV_WINE" winepath.exe -w "$scratch/picture.bmp" 2>/dev/null)"
wine_env_stop
