#!/usr/bin/env bash
# The layer check passes on the tree as it stands and fails, naming the file
# and line, on a copy into which a forbidden include was written.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
copy=$work/tree
mkdir "$copy"
(cd "$root" && tar cf - CMakeLists.txt cmake include toolkit app bench scripts) | (cd "$copy" && tar xf -)

failures=0
expect() {  # expect STATUS PATTERN: runs the check on the copy
  local want=$1 pattern=$2 out status
  out=$(bash "$copy/scripts/check_layers.sh" "$copy" 2>&1); status=$?
  if [[ $status -ne $want ]] || ! grep -q -- "$pattern" <<<"$out"; then
    echo "FAIL: wanted status $want and '$pattern', got status $status:"; echo "$out"
    failures=$((failures + 1))
  fi
}

expect 0 "no forbidden include edge"

# A base file reaching a plug-in header.
target=$copy/toolkit/core/errors.cpp
sed -i '1i #include "korvanthide/editor.h"' "$target"
expect 1 "toolkit/core/errors.cpp:1: base includes the editor plug-in"
sed -i '1d' "$target"

# A plug-in reaching another plug-in.
target=$(ls "$copy"/toolkit/grid/*.cpp | head -n 1); rel=${target#"$copy"/}
sed -i '1i #include "korvanthide/hardcopy.h"' "$target"
expect 1 "$rel:1: plug-in grid includes plug-in hardcopy"
sed -i '1d' "$target"

# A header of the native tree reaching <windows.h>, seen from its source.
target=$copy/toolkit/core/conversions_format.h
line=$(( $(grep -n '#include' "$target" | head -n 1 | cut -d: -f1) ))
sed -i "${line}i #include <windows.h>" "$target"
expect 1 "toolkit/core/conversions_format.h:$line: windows.h reached from a native source"

if (( failures )); then exit 1; fi
echo "check_layers_test: passed"
