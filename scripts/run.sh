#!/usr/bin/env bash
# Builds Chromalversor.exe and starts it under Wine, in the folder that holds
# its help file. It shows on $DISPLAY when one is set; otherwise it runs on a
# private Xvfb display, where nothing is visible, until it is ended (Ctrl+C).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-arch.sh"
build=$KORV_WIN_BUILD

"$root/scripts/setup.sh" || exit 1
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_WIN_TOOLCHAIN" >/dev/null || exit 1
cmake --build "$build" --target Chromalversor || exit 1

export WINEPREFIX=$build/wineprefix WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=
stop() {
  [[ -n $xvfb_pid ]] && { wineserver -k 2>/dev/null; kill "$xvfb_pid" 2>/dev/null; }
  return 0
}
trap stop EXIT
trap 'exit 130' INT TERM

if [[ -z ${DISPLAY:-} ]]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 num <"$fifo"; rm -f "$fifo"
  [[ -n ${num:-} ]] || { echo "run: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$num"
  echo "run: no DISPLAY set; Chromalversor runs on a private Xvfb display $DISPLAY (not visible). Ctrl+C ends it."
else
  echo "run: Chromalversor starts on $DISPLAY"
fi

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "run: creating Wine prefix $WINEPREFIX"
  "$KORV_WINE" wineboot.exe -i >/dev/null 2>&1
fi

cd "$build/app" || exit 1
"$KORV_WINE" Chromalversor.exe
status=$?
echo "run: Chromalversor ended with status $status"
exit $status
