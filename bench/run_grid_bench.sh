#!/usr/bin/env bash
# Builds and runs the grid benchmarks under Wine on a private Xvfb: the
# cells (fill, sort, find, files) and the page step. The files' times are
# set beside python3's csv module doing the same reading and writing.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
win=$KORV_WIN_BUILD
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$win" --target grid_bench grid_page_bench >/dev/null || exit 1
source "$root/scripts/wine-env.sh"
wine_env_start "$win" || exit 1
csv=$win/toolkit/korv_grid_bench.csv
cells=$(cd "$win/toolkit" && "$root/scripts/wine-run.sh" ./grid_bench.exe korv_grid_bench.csv)
status=$?
grep -v '^files seconds' <<<"$cells"
# What python3's csv module takes for the same work: reading with int(),
# float(), the Yes test and a dict for the menu, writing with "%.2f".
read -r save load < <(sed -n 's/^files seconds //p' <<<"$cells")
if [[ -n ${save:-} && -f $csv ]]; then
  /usr/bin/python3 - "$csv" "$save" "$load" <<'PY'
import csv, sys, time
name, save, load = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
menu = {'one': 1, 'two': 2, 'three': 3}
t = time.perf_counter()
rows = []
with open(name, newline='', encoding='latin-1') as f:
    for text, i, d, tick, m in csv.reader(f):
        rows.append((text, int(i), float(d), tick == 'Yes', menu.get(m, 0)))
read = time.perf_counter() - t
t = time.perf_counter()
names = {v: k for k, v in menu.items()}
with open(name + '.py', 'w', newline='', encoding='latin-1') as f:
    w = csv.writer(f, lineterminator='\r\n')
    for text, i, d, tick, m in rows:
        w.writerow([text, i, '%.2f' % d, 'Yes' if tick else 'No', names.get(m, '')])
write = time.perf_counter() - t
print(f"  python csv writer {write:.3f} s, WGridSave ratio {save / write:.2f}; "
      f"python csv reader {read:.3f} s, WGridLoad ratio {load / read:.2f}")
PY
fi
rm -f "$csv" "$csv.py"
(cd "$win/toolkit" && "$root/scripts/wine-run.sh" ./grid_page_bench.exe) || status=1
wine_env_stop
exit $status
