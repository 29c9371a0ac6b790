#!/usr/bin/env bash
# Installs what is missing, builds the native (sanitized, platform-free) and
# the Windows trees, and runs every test: natively, then under Wine on a
# private Xvfb. Exits non-zero on any failure; ends with the time each stage
# took.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

stage_names=() stage_seconds=()
stage_start=$SECONDS
# stage_done NAME: records the time since the previous stage ended.
stage_done() {
  stage_names+=("$1") stage_seconds+=($((SECONDS - stage_start)))
  stage_start=$SECONDS
}
stage_report() {
  echo "== stage times ($(nproc) cores)"
  local i
  for i in "${!stage_names[@]}"; do
    printf '%-36s %4d:%02d\n' "${stage_names[$i]}" $((stage_seconds[i] / 60)) $((stage_seconds[i] % 60))
  done
  printf '%-36s %4d:%02d\n' "all" $((SECONDS / 60)) $((SECONDS % 60))
}

"$root/scripts/setup.sh" || exit 1
stage_done "installs"

status=0
echo "== native build (AddressSanitizer, UBSan)"
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
cmake --build "$root/build/native" -j "$jobs" || exit 1
echo "== layer check"
bash "$root/scripts/check_layers.sh" "$root" "$root/build/native/compile_commands.json" || status=1
(cd "$root/build/native" && ctest --output-on-failure -j "$jobs") || status=1
stage_done "native build and tests"

echo "== fuzzing (libFuzzer, ${FUZZ_SECONDS:-30} s a target)"
"$root/scripts/fuzz.sh" || status=1
stage_done "fuzzing"

source "$root/scripts/wine-arch.sh"
# The 32-bit tree is the product: it is built whole, tests included, on
# every machine, so that a fault only 32-bit code shows (record sizes,
# pointer-sized window words) stops the run even where it cannot run.
# Where it cannot run, it is built without optimisation: only its compile
# and link are checked there, and the 64-bit tree runs the tests.
win32_type=Release
[[ $KORV_WIN_ARCH == i686 ]] || win32_type=
echo "== Windows build (32-bit)"
cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE="$win32_type" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null || exit 1
cmake --build "$root/build/win" -j "$jobs" || exit 1
if [[ $KORV_WIN_ARCH != i686 ]]; then
  # This kernel runs no 32-bit code, so 32-bit Wine cannot start: the tests
  # run as a 64-bit build under 64-bit Wine.
  echo "== Windows build (64-bit, for the tests under 64-bit Wine)"
  cmake -S "$root" -B "$KORV_WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
  cmake --build "$KORV_WIN_BUILD" -j "$jobs" || exit 1
fi
stage_done "Windows builds"

source "$root/scripts/wine-env.sh"
wine_env_start "$KORV_WIN_BUILD" || exit 1
trap wine_env_stop EXIT
(cd "$KORV_WIN_BUILD" && ctest --output-on-failure -j "$jobs") || status=1
wine_env_stop
stage_done "Wine tests"

stage_report
exit $status
