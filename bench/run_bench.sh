#!/usr/bin/env bash
# Builds and runs the converter benchmark beside its floor, a bare Win32
# program that makes the same window-system calls as one refresh: on a
# private Xvfb (what a user of Wine sees) and on Wine's null display driver
# (the programs' own cost, without any drawing). Per display both run in the
# same Wine session, one after the other, and the ratio of their figures is
# printed: on a shared machine the ratio says more than the times.
# Usage: run_bench.sh [runs]   (each run measures both displays)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1}
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD

"$root/scripts/setup.sh" || exit 1
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target converter_bench bare_refresh_bench || exit 1

# "median" and "p95" of the line naming `what` in a benchmark's output.
figures() {
  awk -v what="$2" 'index($0, what) == 1 {
    for (i = 1; i < NF; i++) { if ($i == "median") m = $(i + 1); if ($i == "p95") p = $(i + 1) }
  } END { print m, p }' <<<"$1"
}

source "$root/scripts/wine-env.sh"
echo "cores: $(nproc); load: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((run = 1; run <= runs; run++)); do
  for mode in xvfb headless; do
    echo "== run $run, $mode (load $(cut -d' ' -f1-3 /proc/loadavg))"
    if [[ $mode == headless ]]; then wine_env_start "$build" headless; else wine_env_start "$build"; fi || exit 1
    bare=$(cd "$build/app" && "$root/scripts/wine-run.sh" ./bare_refresh_bench.exe)
    converter=$(cd "$build/app" && "$root/scripts/wine-run.sh" ./converter_bench.exe)
    wine_env_stop
    echo "$bare"
    echo "$converter"
    read -r bare_median bare_p95 < <(figures "$bare" "bare program")
    read -r conv_median conv_p95 < <(figures "$converter" "all trackbar moves")
    if [[ -z $bare_median || -z $conv_median ]]; then
      echo "run_bench: a benchmark printed no figures" >&2
      exit 1
    fi
    awk -v mode="$mode" -v bm="$bare_median" -v bp="$bare_p95" -v cm="$conv_median" -v cp="$conv_p95" 'BEGIN {
      printf "%-9s bare %7.3f / %7.3f ms   converter %7.3f / %7.3f ms   ratio median %.2f  p95 %.2f\n",
             mode, bm, bp, cm, cp, cm / bm, cp / bp }'
  done
done
