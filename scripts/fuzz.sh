#!/usr/bin/env bash
# Builds the fuzz tree (clang++-14, libFuzzer with AddressSanitizer and
# UBSan) and runs each target for FUZZ_SECONDS seconds (30 by default) on
# its seed corpora, as many at once as there are processors. Every file
# under fuzz/findings/<target>/ is run first: each is an input that once
# broke a reader. A crash or sanitizer report fails the run; its input is
# copied to fuzz/findings/<target>/ to be kept.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-$(nproc)}
build=$root/build/fuzz
data=$root/toolkit/graphics/formats/tests/data
seeds=$root/fuzz/seeds

echo "== fuzz build (clang++-14, libFuzzer)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORV_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null || exit 1
cmake --build "$build" --target fuzz_all || exit 1

declare -A corpora=(
  [image_info]="$data/png/pngsuite $data/bmp/g $seeds/image_info $seeds/pcx $seeds/icon"
  [bmp]="$data/bmp/g $data/bmp/q $data/bmp/b"
  [pcx]="$seeds/pcx"
  [png]="$data/png/pngsuite $data/png/testpngs $data/png/testpngs/badpal $data/png/testpngs/crashers"
  [icon]="$seeds/icon"
  [extras]="$seeds/extras"
  [settings]="$seeds/settings"
  [numbers]="$seeds/numbers"
  [grid_csv]="$seeds/grid_csv"
  [grid_round_trip]="$seeds/grid_csv"
  [drawing]="$seeds/drawing"
  [stroke_font]="$seeds/stroke_font"
  [image_round_trip]="$seeds/image_round_trip"
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run_target() {
  local name=$1 work=$scratch/$1 exe
  exe=$(find "$build" -name "fuzz_$name" -type f | head -n 1)
  mkdir -p "$work/corpus" "$work/artifacts"
  cd "$work" || return 1
  local findings=$root/fuzz/findings/$name
  if [[ -d $findings ]] && compgen -G "$findings/*" >/dev/null; then
    "$exe" -timeout=10 "$findings"/* >"$work/replay.log" 2>&1 || { echo "fuzz $name: a kept finding fails again"; tail -n 30 "$work/replay.log"; return 1; }
  fi
  # libFuzzer adds what it learns to the first folder; the seeds stay as they are.
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
         -artifact_prefix="$work/artifacts/" "$work/corpus" ${corpora[$name]} >"$work/log" 2>&1
  local status=$?
  if (( status != 0 )); then
    mkdir -p "$findings"
    cp "$work"/artifacts/* "$findings"/ 2>/dev/null
    echo "fuzz $name: FAILED (input kept in fuzz/findings/$name)"
    grep -m 1 -A 25 -E "ERROR|runtime error" "$work/log"
    return 1
  fi
  echo "fuzz $name: $(grep -m 1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$') runs, no findings"
}
export -f run_target
export root build scratch seconds
export corpora_serialised=$(declare -p corpora)

status=0
printf '%s\n' "${!corpora[@]}" | sort | xargs -P "$jobs" -I{} bash -c 'eval "$corpora_serialised"; run_target {}' || status=1
exit $status
