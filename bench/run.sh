#!/usr/bin/env bash
# Prints the capture benchmarks at 1920x1080 and 3840x2160:
#   bench/run.sh            (builds first; RUNS=n sets the runs per figure)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
for screen in 1920x1080 3840x2160; do
  echo "== screen $screen"
  TOVIK_SCREEN=$screen TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" \
    "$root/bench/measure_capture.sh" "$root/build/win64/bench/capture_region_bench.exe"
done
