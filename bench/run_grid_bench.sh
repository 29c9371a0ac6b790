#!/usr/bin/env bash
# Builds the grid benchmark natively, optimised and without sanitizers, and
# runs it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-native
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_SANITIZE=OFF >/dev/null || exit 1
cmake --build "$build" --target grid_bench >/dev/null || exit 1
"$build/bench/grid_bench" 2>/dev/null || "$build/toolkit/grid_bench"
