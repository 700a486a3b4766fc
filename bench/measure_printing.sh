#!/usr/bin/env bash
# Runs inside the test bench: a 1920x1080 picture printed on the bench's PDF
# queue by Tovik's print command and by `lp` (a PNG of a like picture), each
# timed until the job is with the spooler, then the time until the PDF is
# written. Removes the PDFs it made.
set -euo pipefail
runs=${RUNS:-5}
exe=$1
work=$(mktemp -d /tmp/tovik-print-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

/usr/lib/wine/wine64 "$exe" "$runs" | tr -d '\r'

# The same size and a like picture, as a PNG that CUPS converts itself.
convert -size 1920x1080 gradient:red-blue "$work/LpBench.png"
times=()
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  lp -d "$TOVIK_PRINTER" -t "LpBench$i" "$work/LpBench.png" >/dev/null
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
printf '%s\n' "${times[@]}" | sort -n |
  awk -v runs="$runs" '{ a[NR] = $1 } END { printf "lp 1920x1080 PNG: median %.1f ms (min %.1f, max %.1f, %d runs, process start included)\n", a[int((NR + 1) / 2)] / 1000, a[1] / 1000, a[NR] / 1000, runs }'

# Both kinds of job through to their PDFs, for scale.
start=$(date +%s%N)
deadline=$((SECONDS + 120))
until [ -z "$(lpstat -o "$TOVIK_PRINTER" 2>/dev/null)" ] || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
end=$(date +%s%N)
echo "queue drained $(( (end - start) / 1000000 )) ms after the last lp; PDFs:"
ls -l "$TOVIK_PDF_DIR" | grep -E 'PrintBench|LpBench' | awk '{ print "  " $5 " bytes  " $NF }'
rm -f "$TOVIK_PDF_DIR"/PrintBench* "$TOVIK_PDF_DIR"/LpBench*
