#!/usr/bin/env bash
# The layer check passes on the tree as it stands and fails, naming the file
# and line, on a copy into which a forbidden include or a public declaration
# that one subsystem alone uses was written.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
copy=$work/tree
mkdir "$copy"
(cd "$root" && tar cf - CMakeLists.txt cmake include toolkit app bench fuzz scripts) | (cd "$copy" && tar xf -)

# One native configuration of the copy tells every run which sources build
# without Windows.
cmake -S "$copy" -B "$work/native" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DKORV_SANITIZE=OFF \
      >/dev/null || { echo "FAIL: the copy does not configure"; exit 1; }
failures=0
expect() {  # expect STATUS PATTERN: runs the check on the copy
  local want=$1 pattern=$2 out status
  out=$(bash "$copy/scripts/check_layers.sh" "$copy" "$work/native/compile_commands.json" 2>&1); status=$?
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
sed -i "${line}d" "$target"
# A fuzz target builds natively too.
sed -i '1i #include <windows.h>' "$copy/fuzz/numbers_fuzz.cpp"
expect 1 "fuzz/numbers_fuzz.cpp:1: windows.h reached from a native source"
sed -i '1d' "$copy/fuzz/numbers_fuzz.cpp"

# A program reaching past the public headers.
for program in app/converter.cpp bench/grid_bench.cpp; do
  sed -i '1i #include "core/settings.h"' "$copy/$program"
  expect 1 "$program:1: a program includes a toolkit header"
  sed -i '1d' "$copy/$program"
done

# A public declaration that only the core uses.
header=$copy/include/korvanthide/errors.h
printf 'namespace korv {\nvoid planted_core_only();\n}\n' >>"$header"
line=$(( $(wc -l <"$header") - 1 ))
echo 'void korv::planted_core_only() {}' >>"$copy/toolkit/core/errors.cpp"
expect 1 "include/korvanthide/errors.h:$line: korv::planted_core_only: only core uses it"
# Used by a second subsystem as well, it belongs in include/.
echo 'static void (*planted_use)() = korv::planted_core_only;' >>"$copy/toolkit/dialogs/number_text.cpp"
expect 0 "no forbidden include edge"

# Constants that a using-directive takes in whole are used where it stands.
printf 'namespace korv::planted_codes {\ninline constexpr int one = 1;\n}\n' >>"$header"
echo 'namespace planted { using namespace korv::planted_codes; }' >>"$copy/toolkit/core/errors.cpp"
expect 1 "include/korvanthide/errors.h:[0-9]*: korv::planted_codes::\*: only core uses it"
echo 'namespace planted { using namespace planted_codes; }' >>"$copy/toolkit/dialogs/number_text.cpp"
expect 0 "no forbidden include edge"

# A known fault that was mended must leave the list of known faults.
echo "include/korvanthide/errors.h: korv::long_gone" >>"$copy/scripts/check_layers_known.txt"
expect 1 "'include/korvanthide/errors.h: korv::long_gone' no longer occurs"

if (( failures )); then exit 1; fi
echo "check_layers_test: passed"
