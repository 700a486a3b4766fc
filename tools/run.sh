#!/usr/bin/env bash
# Builds Tovik and starts dist/win64/Tovik.exe under Wine, in Japanese.
# Without a display it runs on a virtual one (tools/testbench.sh) and leaves a
# screenshot at build/screenshot.png a few seconds after the start.
#   tools/run.sh          keeps Tovik running until it is closed or Ctrl+C
#   tools/run.sh --once   (or TOVIK_RUN_ONCE=1) stops after the screenshot
set -euo pipefail
cd "$(dirname "$0")/.."

once=${TOVIK_RUN_ONCE:-0}
if [ "${1:-}" = --once ]; then once=1; fi

# On the virtual display: tools/testbench.sh runs this script again.
if [ -n "${TOVIK_RUN_ON_BENCH:-}" ]; then
  /usr/lib/wine/wine64 dist/win64/Tovik.exe &
  tovik=$!
  sleep "${TOVIK_RUN_WAIT:-5}"
  import -window root build/screenshot.png
  echo "run: screenshot in build/screenshot.png (display $DISPLAY)"
  if [ "$once" = 1 ]; then exit 0; fi  # the bench stops Tovik with everything else
  echo "run: Tovik is running; Ctrl+C stops it"
  wait "$tovik"
  exit
fi

tools/setup.sh
tools/build.sh

if [ -z "${DISPLAY:-}" ]; then
  export TOVIK_RUN_ON_BENCH=1 TOVIK_RUN_ONCE=$once TOVIK_WINEPREFIX=$PWD/build/wineprefix-run
  exec tools/testbench.sh "$0"
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES='mscoree,mshtml='
exec /usr/lib/wine/wine64 dist/win64/Tovik.exe
