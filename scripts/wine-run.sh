#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest. scripts/test.sh prepares
# WINEPREFIX, DISPLAY and a persistent wineserver.
# Wine's helper processes (services, explorer) can outlive the program and
# would keep ctest's output pipe open, so the program writes to a file that
# is copied out once it has ended.
set -u
export WINEDEBUG=${WINEDEBUG:--all}
source "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh"
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
out=$(mktemp)
"$KORV_WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
