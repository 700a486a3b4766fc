#!/usr/bin/env bash
# Prints the picture-file benchmarks at 3840x2160:
#   bench/files.sh            (builds first; RUNS=n sets the runs per figure)
# Inside one test bench: Tovik's BMP save beside a raw write of the same
# bytes, its PNG save beside ImageMagick's on the same BMP (time and size),
# the JPEG save as the user gets it (temp.bmp under its lock, bmp2jpg.exe,
# its exit code) beside cjpeg and ImageMagick on the same BMP and beside a
# raw write of the BMP followed by cjpeg, opening the JPEG beside djpeg,
# and opening the BMP beside a raw read of it (into a buffer in use, and
# into new memory as an open must). The Linux
# tools run as native processes, process start included, like the converter.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
export RUNS=${RUNS:-9}
TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" bash -c '
  set -euo pipefail
  root=$1
  dir=$root/build/bench-files
  rm -rf "$dir"; mkdir -p "$dir"
  windows() { printf "Z:%s\\\\" "$(sed "s|/|\\\\|g" <<<"$1")"; }
  median_ms() { # command... ; the median wall time in ms over $RUNS runs, after one warm-up
    local times=()
    "$@" >/dev/null 2>&1
    for _ in $(seq "$RUNS"); do
      local start end
      start=$(date +%s%N)
      "$@" >/dev/null 2>&1
      end=$(date +%s%N)
      times+=($(( (end - start) / 1000 )))
    done
    printf "%s\n" "${times[@]}" | sort -n | awk "{ a[NR] = \$1 } END { printf \"%.1f\", a[int((NR + 1) / 2)] / 1000 }"
  }
  # The bench runs beside a copy of the converter, as Tovik does, so its
  # JPEG save goes through the code and the folder layout of the program.
  mkdir -p "$dir/program"
  cp "$root/build/win64/bench/picture_files_bench.exe" "$root/dist/win64/bmp2jpg.exe" "$dir/program/"
  /usr/lib/wine/wine64 "$dir/program/picture_files_bench.exe" "$(windows "$dir")" \
    "$(windows "$root/dist/win64")" "$RUNS" | tr -d "\r" | tee "$dir/figures.txt"
  figure() { awk -v n="$1" "\$1 == \"figure\" && \$2 == n { print \$3 }" "$dir/figures.txt"; }
  cjpeg90=$(median_ms cjpeg -quality 90 -outfile "$dir/cjpeg90.jpg" "$dir/shot.bmp")
  cjpeg75=$(median_ms cjpeg -quality 75 -outfile "$dir/cjpeg75.jpg" "$dir/shot.bmp")
  magick=$(median_ms convert "$dir/shot.bmp" -quality 90 -sampling-factor 2x2 "$dir/magick.jpg")
  djpeg=$(median_ms djpeg -outfile /dev/null "$dir/shot.jpg")
  magickpng=$(median_ms convert "$dir/shot.bmp" "$dir/magick.png")
  pngsize=$(stat -c %s "$dir/shot.png") magickpngsize=$(stat -c %s "$dir/magick.png")
  echo "convert shot.bmp shot.png: median $magickpng ms ($magickpngsize bytes); Tovik PNG $pngsize bytes, system encoder $(stat -c %s "$dir/system.png") bytes"
  pngcheck -q "$dir/shot.png" && echo "pngcheck: Tovik PNG OK"
  cmp -s <(convert "$dir/shot.png" rgb:-) <(convert "$dir/shot.bmp" rgb:-) && echo "Tovik PNG: pixel-exact in ImageMagick"
  echo "cjpeg -quality 90: median $cjpeg90 ms ($(stat -c %s "$dir/cjpeg90.jpg") bytes)"
  echo "cjpeg -quality 75: median $cjpeg75 ms ($(stat -c %s "$dir/cjpeg75.jpg") bytes)"
  echo "convert -quality 90 (4:2:0): median $magick ms"
  echo "djpeg of the converter'"'"'s JPEG: median $djpeg ms"
  echo "bmp2jpg JPEG: $(stat -c %s "$dir/shot.jpg") bytes; $(identify -format "quality %Q, sampling %[jpeg:sampling-factor]" "$dir/shot.jpg")"
  awk -v save="$(figure bmp_save)" -v raw="$(figure raw_write)" -v e2e="$(figure jpeg_save)" \
      -v conv="$(figure converter_process)" -v c90="$cjpeg90" -v c75="$cjpeg75" -v im="$magick" \
      -v open="$(figure jpeg_open)" -v dj="$djpeg" -v png="$(figure png_save)" -v impng="$magickpng" \
      -v syspng="$(figure png_save_system_encoder)" -v pngsize="$pngsize" -v impngsize="$magickpngsize" \
      -v bmpopen="$(figure bmp_open)" -v rawread="$(figure raw_read)" \
      -v rawnew="$(figure raw_read_new_memory)" "BEGIN {
    printf \"BMP save / raw write: %.2f (target 1.5)\n\", save / raw
    printf \"JPEG save as the user gets it (until the converter has ended) / cjpeg -quality 90: %.2f (target 1.25); / convert: %.2f\n\", e2e / c90, e2e / im
    printf \"JPEG save as the user gets it %.1f ms / (raw write of the BMP + cjpeg -quality 90) %.1f ms: %.2f\n\", e2e, raw + c90, e2e / (raw + c90)
    printf \"converter process alone / cjpeg -quality 90: %.2f\n\", conv / c90
    printf \"JPEG open / djpeg: %.2f (target 1.25)\n\", open / dj
    printf \"PNG save / convert: time %.2f (target 1.0), size %.2f (target 1.1); system encoder / PNG save: %.2f\n\", png / impng, pngsize / impngsize, syspng / png
    printf \"BMP open / raw read: %.2f (target 2); / raw read into new memory: %.2f\n\", bmpopen / rawread, bmpopen / rawnew
  }"
' _ "$root"
