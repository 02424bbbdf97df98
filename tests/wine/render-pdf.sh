#!/usr/bin/env bash
# render-pdf.sh FILE.pdf STEM: the first page of a printed file as pictures, for the Wine suite,
# which starts it through Wine (Windows paths): STEM.png (40 dpi) to look at, and STEM.pgm
# (the same in grey levels) for the suite to read. STEM.pgm appears in one step once both are
# written, or STEM.failed with the reason: Wine does not wait for a Unix program to end.
set -uo pipefail
pdf=$(winepath -u "$1" 2>/dev/null)
stem=$(winepath -u "$2" 2>/dev/null)
[ -n "$stem" ] || exit 1
fail() { printf '%s\n' "$*" >"$stem.failed"; exit 1; }
[ -f "$pdf" ] || fail "no file $pdf"
pdftoppm -png -r 40 -f 1 -l 1 -singlefile "$pdf" "$stem" 2>"$stem.log" || fail "pdftoppm -png: $(cat "$stem.log")"
pdftoppm -gray -r 40 -f 1 -l 1 -singlefile "$pdf" "$stem.part" 2>"$stem.log" ||
  fail "pdftoppm -gray: $(cat "$stem.log")"
rm -f "$stem.log"
mv "$stem.part.pgm" "$stem.pgm"
