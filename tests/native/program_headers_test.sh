#!/usr/bin/env bash
# The shipped programs of both architectures carry the headers of a program
# made for current Windows: subsystem version 6.0 or later (4.0 marks a legacy
# program) and large-address awareness.
#   program_headers_test.sh DIST_DIR
set -uo pipefail
dist=$1
failed=0
for exe in "$dist"/win64/Tovik.exe "$dist"/win64/bmp2jpg.exe "$dist"/win32/Tovik.exe "$dist"/win32/bmp2jpg.exe; do
  if [ ! -f "$exe" ]; then echo "FAIL $exe: not built"; failed=1; continue; fi
  headers=$(x86_64-w64-mingw32-objdump -p "$exe")
  major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$headers")
  if [ "${major:-0}" -lt 6 ]; then echo "FAIL $exe: subsystem version ${major:-?}, not 6 or later"; failed=1; fi
  grep -q 'large address aware' <<<"$headers" || { echo "FAIL $exe: not large-address aware"; failed=1; }
done
[ "$failed" -eq 0 ] && echo "the programs' headers are those of current Windows"
exit "$failed"
