#!/usr/bin/env bash
# Builds the grid's fuzz target with clang's libFuzzer and runs it for the
# given number of seconds (default 60) from the seeds beside it.
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$root/build/fuzz
seconds=${1:-60}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DKORV_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null || exit 1
cmake --build "$build" --target grid_csv_fuzz >/dev/null || exit 1
corpus=$build/grid_csv_corpus
mkdir -p "$corpus"
"$build/toolkit/grid_csv_fuzz" -max_total_time="$seconds" -max_len=4096 "$corpus" "$(dirname "$0")/seeds"
