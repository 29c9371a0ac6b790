#!/usr/bin/env bash
# The grid's clipboard against xclip on the test's X display: the Wine
# program copies a block, xclip reads it (Wine gives X the text as UTF-8
# with LF); then xclip offers a block, which the program pastes.
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"; [[ -n ${offer:-} ]] && kill "$offer" 2>/dev/null' EXIT
cd "$work" || exit 1
"$(dirname "$0")/../../../scripts/wine-run.sh" "$exe" >"$work/out.txt" 2>&1 &
program=$!
for _ in $(seq 600); do [[ -f grid_copied.flag ]] && break; sleep 0.1; done
[[ -f grid_copied.flag ]] || { echo "the program copied nothing"; cat "$work/out.txt"; exit 1; }
copied=$(xclip -o -selection clipboard | od -An -c | tr -s ' ')
expected=$(printf '5\tYes\n17\tNo\n' | od -An -c | tr -s ' ')
fail=0
[[ $copied == "$expected" ]] || { echo "xclip read:$copied"; echo "expected:  $expected"; fail=1; }
printf '1.5\tyes\t\tapp\t11\n2E3\tY\t2E3\t\t7\n' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
offer=$!
sleep 0.5
touch grid_offered.flag
wait "$program"
rc=$?
cat "$work/out.txt"
(( rc == 0 && fail == 0 ))
