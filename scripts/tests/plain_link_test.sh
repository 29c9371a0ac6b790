#!/usr/bin/env bash
# Installs the toolkit from the Windows build tree, builds a program with the
# link line of docs/LINKING.md (only the installed include/ on its include
# path), runs it under Wine and finds in the debug log the mode-2 report of a
# routine of each subsystem. Arguments: the source tree and the build tree.
set -uo pipefail
root=$1 build=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

PREFIX=$work/prefix
cmake --install "$build" --prefix "$PREFIX" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
source "$root/scripts/wine-arch.sh"
CXX=$KORV_WIN_ARCH-w64-mingw32-g++-posix
line=$(sed -n '/^# the link line$/,/^```$/p' "$root/docs/LINKING.md" | sed '1d;$d')
[[ -n $line ]] || { echo "FAIL: no link line in docs/LINKING.md"; exit 1; }
cp "$root/toolkit/tests/plain_link_program.cpp" "$work/program.cpp"
if ! (cd "$work" && eval "$line"); then
  echo "FAIL: the link line of docs/LINKING.md did not build the program"; exit 1
fi

(cd "$work" && bash "$root/scripts/wine-run.sh" ./program.exe) || { echo "FAIL: the program failed"; exit 1; }
failures=0
for expected in "Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load" \
                "Routine:IGrSelect Error=1019:Invalid target drawing surface" \
                "Routine:WEditFile Error=1022:Only child windows can be converted into editors or viewers" \
                "Routine:WGridRows Error=1005:No dialog currently selected" \
                "Routine:IGrHardCopy Error=   1:Error opening file or device"; do
  if ! tr -d '\r' <"$work/debug" 2>/dev/null | grep -qF -- "$expected"; then
    echo "FAIL: no '$expected' in the debug log"; failures=$((failures + 1))
  fi
done
if (( failures )); then cat "$work/debug" 2>/dev/null; exit 1; fi
echo "plain_link_test: passed"
