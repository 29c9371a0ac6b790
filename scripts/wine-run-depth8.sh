#!/usr/bin/env bash
# Runs one Windows program under Wine on the display of 8 bits per pixel
# that scripts/wine-env.sh starts beside the usual one.
set -u
[[ -n ${KORV_DEPTH8_DISPLAY:-} ]] || { echo "no 8-bit display: wine_env_start starts one" >&2; exit 1; }
export DISPLAY=$KORV_DEPTH8_DISPLAY WINEPREFIX=$KORV_DEPTH8_PREFIX
exec "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" "$@"
