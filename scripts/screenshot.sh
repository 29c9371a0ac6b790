#!/usr/bin/env bash
# Makes docs/screenshot.png: builds Chromalversor.exe, starts it under Wine on
# a private Xvfb display, waits for its dialog and takes a picture of it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD
out=${1:-$root/docs/screenshot.png}

"$root/scripts/setup.sh" || exit 1
for tool in import:imagemagick xdotool:xdotool; do
  command -v "${tool%%:*}" >/dev/null || apt-get install -y -q --no-install-recommends "${tool#*:}" || exit 1
done
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target Chromalversor || exit 1

source "$root/scripts/wine-env.sh"
wine_env_start "$build" || exit 1
trap wine_env_stop EXIT

(cd "$build/app" && exec "$KORV_WINE" Chromalversor.exe) >/dev/null 2>&1 &

window=
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Chromalversor$' 2>/dev/null | head -n 1)
  [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || { echo "screenshot: the dialog did not appear" >&2; exit 1; }
sleep 2  # let every field paint

# A colour that shows: the code typed into the hexadecimal field (Tab takes
# it); the comparison preview keeps the white of the start.
xdotool mousemove --window "$window" 128 195 click 1
sleep 0.5
xdotool key --window "$window" ctrl+a
xdotool type --window "$window" --delay 50 "4682B4"
xdotool key --window "$window" Tab
sleep 2

mkdir -p "$(dirname "$out")"
import -window "$window" "$out" || exit 1
echo "screenshot: wrote $out"
