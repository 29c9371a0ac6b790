#!/usr/bin/env bash
# Prints the longest functions of toolkit/ (tests left out), longest first:
# lines, file:line and name. Argument: how many (10). Exits non-zero when
# one is longer than KORV_FUNCTION_LIMIT lines (120), so that a run can
# also serve as a check.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10}
limit=${KORV_FUNCTION_LIMIT:-120}
command -v ctags >/dev/null || { echo "longest_functions: ctags (universal-ctags) is missing" >&2; exit 2; }
cd "$root" || exit 2
list=$(find toolkit -name '*.cpp' -not -path '*/tests/*' -print0 | sort -z |
  xargs -0 ctags --languages=C++ --c++-kinds=f --fields=+ne -f - |
  awk -F'\t' '{ start = end = 0
                for (i = 4; i <= NF; i++) {
                  if ($i ~ /^line:/) start = substr($i, 6)
                  if ($i ~ /^end:/) end = substr($i, 5)
                }
                if (end) printf "%d %s:%d %s\n", end - start + 1, $2, start, $1 }' |
  sort -k1,1nr -k2,2)
head -n "$count" <<<"$list"
longest=$(head -n 1 <<<"$list" | cut -d' ' -f1)
(( ${longest:-0} <= limit ))
