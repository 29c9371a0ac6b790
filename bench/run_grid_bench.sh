#!/usr/bin/env bash
# Builds and runs the grid benchmarks: the cells natively, optimised and
# without sanitizers; the page step under Wine on a private Xvfb.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-native
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_SANITIZE=OFF >/dev/null || exit 1
cmake --build "$build" --target grid_bench >/dev/null || exit 1
"$build/toolkit/grid_bench" || exit 1

source "$root/scripts/wine-arch.sh"
win=$KORV_WIN_BUILD
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$win" --target grid_page_bench >/dev/null || exit 1
source "$root/scripts/wine-env.sh"
wine_env_start "$win" || exit 1
(cd "$win/toolkit" && "$root/scripts/wine-run.sh" ./grid_page_bench.exe)
wine_env_stop
