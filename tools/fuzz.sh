#!/usr/bin/env bash
# Builds the native fuzz targets with clang's libFuzzer and runs each for a
# bounded time:
#   tools/fuzz.sh            (FUZZ_SECONDS=n per target, default 20)
# Targets: the converter's command-line split, the settings texts, the
# picture header reading, the converter's bitmap reading (and its JPEG
# encoder on the small pictures found), and the same reader through the
# open path's direct bitmap copy. Each keeps its corpus in
# build/fuzz/corpus/<name>, so later runs start from what earlier ones found. Exits non-zero on the
# first finding (a crash, a sanitizer report or a broken invariant); the
# input that caused it is left in build/fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
seconds=${FUZZ_SECONDS:-20}
mkdir -p "$out"

flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root/src" -I"$root/converter" -I"$root/tests/fuzz")
build() { # name sources...
  local name=$1; shift
  local binary=$out/$name
  # Rebuilt only when a source is newer than the binary.
  local stale=1
  if [ -x "$binary" ]; then
    stale=0
    for f in "$@" "$root/tests/fuzz/fuzz_input.h" "$0"; do [ "$f" -nt "$binary" ] && stale=1; done
  fi
  if [ "$stale" -eq 1 ]; then clang++ "${flags[@]}" "$@" -o "$binary"; fi
}

build command_line_fuzz "$root/tests/fuzz/command_line_fuzz.cpp" "$root/converter/CommandLine.cpp"
build settings_fuzz "$root/tests/fuzz/settings_fuzz.cpp" "$root/src/app/Settings.cpp" \
  "$root/src/platform/portable/Twips.cpp"
build picture_size_fuzz "$root/tests/fuzz/picture_size_fuzz.cpp" "$root/src/codecs/PictureSize.cpp"
build bitmap_file_fuzz "$root/tests/fuzz/bitmap_file_fuzz.cpp" "$root/src/codecs/BitmapFile.cpp" \
  "$root/src/codecs/JpegEncoder.cpp"
build direct_bitmap_fuzz "$root/tests/fuzz/direct_bitmap_fuzz.cpp" "$root/src/codecs/DirectBitmap.cpp" \
  "$root/src/codecs/BitmapFile.cpp" "$root/src/codecs/PictureSize.cpp"

status=0
for name in command_line_fuzz settings_fuzz picture_size_fuzz bitmap_file_fuzz direct_bitmap_fuzz; do
  mkdir -p "$out/corpus/$name"
  if (cd "$out" && "./$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=0 "corpus/$name" >"$name.log" 2>&1); then
    echo "fuzz: $name: no finding in ${seconds} s ($(grep -c . <(ls "$out/corpus/$name")) inputs in corpus)"
  else
    echo "fuzz: $name: FINDING, see $out/$name.log" >&2
    tail -n 30 "$out/$name.log" >&2
    status=1
  fi
done
exit "$status"
