#!/usr/bin/env bash
# Times the raster image driver's A4 page at 300 dpi under Wine and
# ghostscript rendering the PostScript driver's file of the same picture on
# the host; prints both medians and their ratio (goal: at most 0.9).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD

"$root/scripts/setup.sh" || exit 1
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target drivers_bench || exit 1

work=$(mktemp -d)
cp "$(find "$build" -name drivers_bench.exe | head -n 1)" "$work/"
source "$root/scripts/wine-env.sh"
wine_env_start "$build" headless || exit 1
(cd "$work" && "$root/scripts/wine-run.sh" ./drivers_bench.exe) | tee "$work/times.txt"
wine_env_stop

runs=()
for i in 1 2 3 4 5; do
  start=$(date +%s.%N)
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r300 -sPAPERSIZE=a4 -o "$work/gs.png" "$work/page.ps" || exit 1
  end=$(date +%s.%N)
  runs+=("$(echo "($end - $start) * 1000" | bc -l)")
done
gs_ms=$(printf '%s\n' "${runs[@]}" | sort -g | sed -n 3p)
png_ms=$(tr -d "\r" < "$work/times.txt" | awk '/^png24_ms/ {print $2}')
printf 'gs_ms %.1f\nratio_png24_to_gs %.2f\n' "$gs_ms" "$(echo "$png_ms / $gs_ms" | bc -l)"
pngcheck -q "$work/page24.png" "$work/gs.png" && echo "both pages pass pngcheck"
[ -n "${BENCH_KEEP:-}" ] && cp "$work/page24.png" "$work/gs.png" "$BENCH_KEEP"
rm -rf "$work"
