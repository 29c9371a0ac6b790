#!/usr/bin/env bash
# Builds and runs the editor benchmark on a private Xvfb: range reads in the
# program's counting and printing, each against the control's or the
# printer's own calls in the same run. The printed PDFs are removed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD

"$root/scripts/setup.sh" || exit 1
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target editor_bench || exit 1

source "$root/scripts/wine-env.sh"
wine_env_start "$build" || exit 1
(cd "$build/toolkit" && "$root/scripts/wine-run.sh" ./editor_bench.exe)
wine_env_stop
sleep 3
rm -f "$HOME"/PDF/korvbench_* /var/spool/cups-pdf/ANONYMOUS/korvbench_* 2>/dev/null
exit 0
