#!/usr/bin/env bash
# Prints the capture benchmarks at 1920x1080 and 3840x2160, the command
# latencies on two monitors, then printing:
#   bench/run.sh            (builds first; RUNS=n sets the runs per figure)
# Each screen gets one bench: the full-screen capture, then the latency of
# the desktop and rectangle commands, each beside the X tools. Printing a
# 1920x1080 picture is timed on one more bench, beside lp.
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
echo "== two monitors, 1280x800 and 1024x768 beside it (virtual screen 2304x800)"
TOVIK_BENCH=twomonitors TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" \
  "$root/bench/measure_latency.sh" "$root/build/win64/bench/command_latency_bench.exe"
echo "== printing a 1920x1080 picture"
TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" \
  "$root/bench/measure_printing.sh" "$root/build/win64/bench/print_bench.exe"
