#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine inside the test bench. ctest uses it
# as the emulator for the win64 tree, so run ctest through tools/testbench.sh:
#   tools/testbench.sh ctest --test-dir build/win64
set -euo pipefail

if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ] || [ ! -f "${WINEPREFIX}/system.reg" ]; then
  echo "wine-run: the test bench is not up (DISPLAY='${DISPLAY:-}', WINEPREFIX='${WINEPREFIX:-}');" \
       "run this through tools/testbench.sh" >&2
  exit 2
fi

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG="${WINEDEBUG:--all}"
exec /usr/lib/wine/wine64 "$@"
