# Sourced: starts and stops a private Xvfb and a persistent wineserver for
# one project-local Wine prefix.
# wine_env_start BUILD_DIR [headless]  - with "headless", no X display: Wine
# then uses its null display driver.
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
}

wine_env_stop() {
  [[ -n ${KORV_WINE_PREFIX_STARTED:-} ]] && WINEPREFIX=$KORV_WINE_PREFIX_STARTED wineserver -k 2>/dev/null
  [[ -n ${KORV_XVFB_PID:-} ]] && kill "$KORV_XVFB_PID" 2>/dev/null
  KORV_WINE_PREFIX_STARTED= KORV_XVFB_PID=
  return 0
}
