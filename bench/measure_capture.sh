#!/usr/bin/env bash
# Runs inside the test bench: a full-screen capture by Tovik and by the X
# tools on the same display, each timed over the same number of runs.
set -euo pipefail
runs=${RUNS:-15}
exe=$1

median_ms() { # command... ; prints the median wall time in ms over $runs runs
  local times=()
  "$@" >/dev/null 2>&1   # warm up
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

tovik_line=$(/usr/lib/wine/wine64 "$exe" "$runs" | tr -d '\r' | grep '^tovik')
echo "$tovik_line"
tovik=$(sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$tovik_line")
import_ms=$(median_ms import -window root -silent miff:/dev/null)
xwd_ms=$(median_ms sh -c 'xwd -root -silent > /dev/null')
echo "import -window root: median $import_ms ms (process start included)"
echo "xwd -root: median $xwd_ms ms (process start included)"
awk -v t="$tovik" -v i="$import_ms" -v x="$xwd_ms" \
  'BEGIN { f = (i < x) ? i : x; printf "Tovik / fastest peer: %.2f\n", t / f }'
