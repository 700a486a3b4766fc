#!/usr/bin/env bash
# The shipped programs of both architectures carry the headers of a program
# made for current Windows: subsystem version 6.0 or later (4.0 marks a legacy
# program), large-address and terminal-server awareness, and a manifest of
# their own (the user's rights without virtualisation, the supported systems,
# long paths). They import only libraries that Windows always takes from its
# own folder (the known DLLs, and the common controls, which Tovik's manifest
# takes from the side-by-side store), so that no file planted beside them is
# loaded before they run.
#   program_headers_test.sh DIST_DIR
set -uo pipefail
dist=$1
failed=0
known=" advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll "
for exe in "$dist"/win64/Tovik.exe "$dist"/win64/bmp2jpg.exe "$dist"/win32/Tovik.exe "$dist"/win32/bmp2jpg.exe; do
  if [ ! -f "$exe" ]; then echo "FAIL $exe: not built"; failed=1; continue; fi
  headers=$(x86_64-w64-mingw32-objdump -p "$exe")
  major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$headers")
  if [ "${major:-0}" -lt 6 ]; then echo "FAIL $exe: subsystem version ${major:-?}, not 6 or later"; failed=1; fi
  grep -q 'large address aware' <<<"$headers" || { echo "FAIL $exe: not large-address aware"; failed=1; }
  grep -q 'TERMINAL_SERVICE_AWARE' <<<"$headers" || { echo "FAIL $exe: not terminal-server aware"; failed=1; }
  for part in 'requestedExecutionLevel level="asInvoker"' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
              '<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true</longPathAware>'; do
    grep -aqF "$part" "$exe" || { echo "FAIL $exe: its manifest lacks $part"; failed=1; }
  done
  allowed=$known
  grep -aqF 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$exe" && allowed+="comctl32.dll "
  for dll in $(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers"); do
    [[ $allowed == *" $dll "* ]] || { echo "FAIL $exe: imports $dll, which Windows may load from beside it"; failed=1; }
  done
done
[ "$failed" -eq 0 ] && echo "the programs' headers, manifests and imports are those of current Windows"
exit "$failed"
