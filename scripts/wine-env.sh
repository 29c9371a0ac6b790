# Sourced: starts and stops a private Xvfb and a persistent wineserver for
# one project-local Wine prefix.
# wine_env_start BUILD_DIR [headless]  - with "headless", no X display: Wine
# then uses its null display driver. Otherwise a second Xvfb at 8 bits per
# pixel comes up too, with a prefix of its own (wine_env_depth8).
source "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh"

wine_env_start() {
  local build; build=$(cd "$1" && pwd) || return 1
  local mode=${2:-}
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  # Wine's null display driver is chosen per prefix, so the headless runs
  # keep a prefix of their own.
  [[ $mode == headless ]] && WINEPREFIX="$build/wineprefix-null"
  export WINEDLLOVERRIDES=mscoree,mshtml=
  KORV_XVFB_PID=
  if [[ $mode == headless ]]; then
    unset DISPLAY
  else
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    KORV_XVFB_PID=$!
    local num; read -r -t 30 num <"$fifo"; rm -f "$fifo"
    [[ -n $num ]] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$num"
  fi
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "wine-env: creating Wine prefix $WINEPREFIX"
    "$KORV_WINE" wineboot.exe -i >/dev/null 2>&1
    [[ $mode == headless ]] && "$KORV_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -w
  fi
  # Without a window manager, Wine waits two seconds for every managed window
  # it hides; windows it does not hand to a manager hide at once.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$KORV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -k 2>/dev/null; sleep 0.2
  fi
  wineserver -p
  KORV_WINE_PREFIX_STARTED=$WINEPREFIX
  [[ $mode == headless ]] || wine_env_depth8 "$build"
}

# A display of 256 colours for the tests of palette displays: a second
# private Xvfb at 8 bits per pixel and a Wine prefix of its own, since one
# prefix's programs share one display. scripts/wine-run-depth8.sh runs a
# program there.
wine_env_depth8() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x8 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  KORV_DEPTH8_XVFB_PID=$!
  local num; read -r -t 30 num <"$fifo"; rm -f "$fifo"
  [[ -n $num ]] || { echo "wine-env: the 8-bit Xvfb did not start" >&2; return 1; }
  export KORV_DEPTH8_DISPLAY=":$num" KORV_DEPTH8_PREFIX="$1/wineprefix-depth8"
  if [[ ! -f $KORV_DEPTH8_PREFIX/system.reg ]]; then
    echo "wine-env: creating Wine prefix $KORV_DEPTH8_PREFIX"
    DISPLAY=$KORV_DEPTH8_DISPLAY WINEPREFIX=$KORV_DEPTH8_PREFIX "$KORV_WINE" wineboot.exe -i >/dev/null 2>&1
    DISPLAY=$KORV_DEPTH8_DISPLAY WINEPREFIX=$KORV_DEPTH8_PREFIX "$KORV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$KORV_DEPTH8_PREFIX wineserver -w
  fi
}

wine_env_stop() {
  [[ -n ${KORV_WINE_PREFIX_STARTED:-} ]] && WINEPREFIX=$KORV_WINE_PREFIX_STARTED wineserver -k 2>/dev/null
  [[ -n ${KORV_XVFB_PID:-} ]] && kill "$KORV_XVFB_PID" 2>/dev/null
  [[ -n ${KORV_DEPTH8_PREFIX:-} ]] && WINEPREFIX=$KORV_DEPTH8_PREFIX wineserver -k 2>/dev/null
  [[ -n ${KORV_DEPTH8_XVFB_PID:-} ]] && kill "$KORV_DEPTH8_XVFB_PID" 2>/dev/null
  KORV_DEPTH8_PREFIX= KORV_DEPTH8_XVFB_PID=
  KORV_WINE_PREFIX_STARTED= KORV_XVFB_PID=
  return 0
}
