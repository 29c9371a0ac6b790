#!/usr/bin/env bash
# Builds a program with a plain compiler line against include/ and the
# toolkit's static libraries, runs it under Wine and finds its mode-2 report
# in the debug log. Arguments: the source tree and the Windows build tree.
set -uo pipefail
root=$1 build=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

libs=("$build/libkorvanthide.a" "$build/libkorv_editor.a" "$build/libkorv_grid.a"
      "$build/libkorv_hardcopy.a" "$build/libkorv_base.a")
# The libraries need each other (start-up runs the install file), hence the group.
source "$root/scripts/wine-arch.sh"
if ! "$KORV_WIN_ARCH-w64-mingw32-g++-posix" -std=c++20 -I"$root/include" \
       "$root/toolkit/tests/plain_link_program.cpp" -o "$work/plain.exe" -static \
       -Wl,--start-group "${libs[@]}" -Wl,--end-group \
       -lz -lcomctl32 -lcomdlg32 -lshell32 -lole32 -lwinspool -lwinmm -lgdi32; then
  echo "FAIL: the plain compiler line did not build"; exit 1
fi

(cd "$work" && bash "$root/scripts/wine-run.sh" ./plain.exe) || { echo "FAIL: the program failed"; exit 1; }
expected="Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load"
if ! tr -d '\r' <"$work/debug" 2>/dev/null | grep -qxF "$expected"; then
  echo "FAIL: no '$expected' in the debug log:"; cat "$work/debug" 2>/dev/null; exit 1
fi
echo "plain_link_test: passed"
