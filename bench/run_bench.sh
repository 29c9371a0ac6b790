#!/usr/bin/env bash
# Builds and runs the converter benchmark twice: on a private Xvfb (what a
# user of Wine sees) and on Wine's null display driver (the program's own
# cost, without any drawing).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD

"$root/scripts/setup.sh" || exit 1
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target converter_bench || exit 1

source "$root/scripts/wine-env.sh"
for mode in xvfb headless; do
  echo "== $mode"
  if [[ $mode == headless ]]; then wine_env_start "$build" headless; else wine_env_start "$build"; fi || exit 1
  (cd "$build/app" && "$root/scripts/wine-run.sh" ./converter_bench.exe)
  wine_env_stop
done
