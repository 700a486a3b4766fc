#!/usr/bin/env bash
# Prints the capture benchmarks at 1920x1080 and 3840x2160:
#   bench/run.sh            (builds first; RUNS=n sets the runs per figure)
# Each screen gets one bench: the full-screen capture, then the latency of
# the desktop and rectangle commands, each beside the X tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
for screen in 1920x1080 3840x2160; do
  echo "== screen $screen"
  TOVIK_SCREEN=$screen TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" bash -c '
    set -e
    "$1/bench/measure_capture.sh" "$1/build/win64/bench/capture_region_bench.exe"
    "$1/bench/measure_latency.sh" "$1/build/win64/bench/command_latency_bench.exe"' _ "$root"
done
