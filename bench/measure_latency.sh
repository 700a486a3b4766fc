#!/usr/bin/env bash
# Runs inside the test bench: the latency of Tovik's desktop and rectangle
# commands, from the menu, the toolbar and their hotkeys, measured from
# outside the real program by command_latency_bench,
# beside ImageMagick's import reading the same pixels of the same display.
# Prints one table; RUNS=n sets the runs per figure (default 15).
set -euo pipefail
runs=${RUNS:-15}
exe=$1
rect=(200 150 640 480)   # x y w h: the rectangle dragged, and the one import crops
root_cmd=(import -window root -silent miff:/dev/null)
crop_cmd=(import -window root -crop "${rect[2]}x${rect[3]}+${rect[0]}+${rect[1]}" -silent miff:/dev/null)

# "median min max" in ms of the command's wall time, process start included,
# over $runs runs after one warm-up run.
wall_ms() {
  local times=() start end
  "$@" >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    start=${EPOCHREALTIME//[!0-9]/}
    "$@" >/dev/null 2>&1
    end=${EPOCHREALTIME//[!0-9]/}
    times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n |
    awk '{ a[NR] = $1 } END { printf "%.1f %.1f %.1f", a[int((NR + 1) / 2)] / 1000, a[1] / 1000, a[NR] / 1000 }'
}

if ! tovik=$(/usr/lib/wine/wine64 "$exe" "$runs" "${rect[@]}" | tr -d '\r'); then
  echo "$tovik" >&2
  exit 1
fi
figure() { grep "^$1 " <<<"$tovik" | cut -d' ' -f2-; }
import_root=$(wall_ms "${root_cmd[@]}")
import_crop=$(wall_ms "${crop_cmd[@]}")

row() { # label "median min max" peer-label "median min max"
  awk -v label="$1" -v t="$2" -v peer="$3" -v p="$4" 'BEGIN {
    split(t, a, " "); split(p, b, " ")
    printf "%-44s %8.1f %8.1f %8.1f   %-12s %8.1f %8.1f %8.1f %10.2f\n",
           label, a[1], a[2], a[3], peer, b[1], b[2], b[3], a[1] / b[1] }'
}
echo "command latency in ms over $runs runs (Tovik: from the posted command, the button's release or the typed hotkey;"
echo "import: wall time of the whole process, its start included)"
printf '%-44s %8s %8s %8s   %-12s %8s %8s %8s %10s\n' \
  figure median min max peer median min max Tovik/peer
row "desktop, menu: command -> bitmap on clipbd" "$(figure desktop_menu_to_clipboard)" "import root" "$import_root"
row "  the same, the clicked item fading 250 ms" "$(figure desktop_menu_fade_to_clipboard)" "import root" "$import_root"
row "desktop, toolbar: click -> bitmap on clipbd" "$(figure desktop_toolbar_to_clipboard)" "import root" "$import_root"
row "rectangle: command -> frozen overlay shown" "$(figure rectangle_to_overlay)" "import root" "$import_root"
row "  the same minus the 500 ms pause" "$(figure rectangle_to_overlay_minus_pause)" "import root" "$import_root"
row "rectangle: release -> bitmap on clipboard" "$(figure release_to_clipboard)" "import crop" "$import_crop"
row "desktop, hotkey: key -> bitmap on clipboard" "$(figure desktop_hotkey_to_clipboard)" "import root" "$import_root"
row "rectangle, hotkey, minimised: key -> overlay" "$(figure rectangle_hotkey_minimised_to_overlay)" "import root" "$import_root"
echo "import root: ${root_cmd[*]}"
echo "import crop: ${crop_cmd[*]}"
