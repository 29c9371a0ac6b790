#!/usr/bin/env bash
# Runs the grid print test under Wine, then reads the PDF it printed with
# pdfinfo and pdftotext: four pages, the first two columns on pages 1 and
# 3, the cells in row order.
set -u
out=$("$(dirname "$0")/../../../scripts/wine-run.sh" "$1")
rc=$?
echo "$out"
(( rc == 0 )) || exit 1
win=$(echo "$out" | sed -n 's/^PDF \(.*\)$/\1/p' | tr -d '\r' | tail -n 1)
[[ -n $win ]] || { echo "no PDF named"; exit 1; }
pdf=$(echo "${win#Z:}" | tr '\\' '/')
trap 'rm -f "$pdf"' EXIT
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[[ $pages == 4 ]] || { echo "pages: $pages, not 4"; exit 1; }
page() { pdftotext -f "$1" -l "$1" -layout "$pdf" - ; }
fail=0
for p in 1 3; do
  t=$(page $p)
  grep -q "c1" <<<"$t" && grep -q "c2" <<<"$t" && ! grep -q "c3" <<<"$t" || { echo "page $p: not columns 1 and 2"; fail=1; }
done
first=$(page 1)
grep -q "Alpha" <<<"$first" && grep -q "Beta" <<<"$first" || { echo "page 1: no headings"; fail=1; }
# Row order: r1 before r2 before r10 on page 1.
order=$(grep -o "r[0-9]*c1" <<<"$first" | head -n 3 | tr '\n' ' ')
[[ $order == "r1c1 r2c1 r3c1 " ]] || { echo "page 1 order: $order"; fail=1; }
grep -q "c3" <<<"$(page 2)" || { echo "page 2: no third column"; fail=1; }
exit $fail
