#!/usr/bin/env bash
# Installs what is missing, builds the native (sanitized, platform-free) and
# the Windows trees, and runs every test: natively, then under Wine on a
# private Xvfb. Exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

"$root/scripts/setup.sh" || exit 1

status=0
echo "== native build (AddressSanitizer, UBSan)"
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
cmake --build "$root/build/native" -j "$jobs" || exit 1
echo "== layer check"
bash "$root/scripts/check_layers.sh" "$root" "$root/build/native/compile_commands.json" || status=1
(cd "$root/build/native" && ctest --output-on-failure -j "$jobs") || status=1

echo "== fuzzing (libFuzzer, ${FUZZ_SECONDS:-30} s a target)"
"$root/scripts/fuzz.sh" || status=1

source "$root/scripts/wine-arch.sh"
echo "== Windows build (32-bit)"
cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null || exit 1
if [[ $KORV_WIN_ARCH == i686 ]]; then
  cmake --build "$root/build/win" -j "$jobs" || exit 1
else
  # This kernel runs no 32-bit code, so 32-bit Wine cannot start: the 32-bit
  # product is built, and the tests run as a 64-bit build under 64-bit Wine.
  cmake --build "$root/build/win" -j "$jobs" --target Chromalversor || exit 1
  echo "== Windows build (64-bit, for the tests under 64-bit Wine)"
  cmake -S "$root" -B "$KORV_WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
  cmake --build "$KORV_WIN_BUILD" -j "$jobs" || exit 1
fi

source "$root/scripts/wine-env.sh"
wine_env_start "$KORV_WIN_BUILD" || exit 1
trap wine_env_stop EXIT
(cd "$KORV_WIN_BUILD" && ctest --output-on-failure -j "$jobs") || status=1
exit $status
