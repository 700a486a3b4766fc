#!/usr/bin/env bash
# Builds the 64-bit Tovik.exe and bmp2jpg.exe (tools/build.sh --program) and
# starts dist/win64/Tovik.exe under Wine, in Japanese, in the
# project's own Wine prefix build/wineprefix-run (laid anew from the test
# template at every run, so nothing reaches ~/.wine and every run starts from
# an empty settings store).
#   tools/run.sh          keeps Tovik running on your display until it is
#                         closed or Ctrl+C; on a virtual display it stops
#                         after the screenshot, since nobody could use it
#   tools/run.sh --once   (or TOVIK_RUN_ONCE=1) stops after the screenshot
# Where Tovik shows:
#   DISPLAY set and answering: on that display, inside a Wine desktop window of
#     TOVIK_SCREEN (default 1024x768)
#   no DISPLAY, or one that does not answer (it says so): on a virtual display
#     of its own (tools/testbench.sh)
# Either way it leaves a screenshot at build/screenshot.png TOVIK_RUN_WAIT
# seconds (default 5) after the start.
# With TOVIK_RUN_SHOTS=folder (tools/screenshots.sh) it also stages the two
# pictures of the README there: the main window after a desktop capture, and a
# rectangle being dragged on the frozen screen.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

once=${TOVIK_RUN_ONCE:-0}
if [ "${1:-}" = --once ]; then once=1; fi
prefix=$root/build/wineprefix-run
screenshot=$root/build/screenshot.png
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

# The README's pictures, taken with real keys and mouse moves on the display.
stage_shots() { # folder
  local folder=$1
  mkdir -p "$folder"
  # The active-window capture takes the Japanese read-me open behind Tovik.
  xdotool mousemove 1000 700
  xdotool key ctrl+w
  sleep 3
  import -window root -crop 600x400+0+0 +repage "$folder/main-window.png"
  xdotool key ctrl+r
  sleep 2
  xdotool mousemove 180 140 mousedown 1
  for step in 1 2 3 4 5 6; do xdotool mousemove $((180 + step * 55)) $((140 + step * 40)); sleep 0.2; done
  sleep 1
  import -window root "$folder/rectangle-selection.png"
  xdotool mouseup 1
  sleep 1
  echo "run: pictures in $folder"
}

# Starts Tovik on $DISPLAY in $WINEPREFIX, takes the screenshot of the window
# named $1 and, with --once, stops there.
start_and_shoot() {
  if [ -n "${TOVIK_RUN_SHOTS:-}" ]; then   # a larger window than the first run's, at the corner
    for value in Width:9000 Height:6000; do
      "$wine" reg add 'HKCU\Software\Tovik\Capture\Startup' /v "${value%%:*}" /d "${value#*:}" /f >/dev/null 2>&1
    done
    # Something to capture: a short Japanese note, open behind Tovik.
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE <<'NOTE'
Tovik - 画面キャプチャ
Ctrl+R  矩形を選んで取り込む
Ctrl+W  アクティブウィンドウを取り込む
Ctrl+T  デスクトップ全体を取り込む
Ctrl+A  BMP または JPEG で保存する
NOTE
    } >"$root/build/note.txt"
    "$wine" notepad "Z:$(sed 's|/|\\|g' <<<"$root/build/note.txt")" >/dev/null 2>&1 &
    sleep 3
  fi
  "$wine" dist/win64/Tovik.exe &
  tovik=$!
  sleep "${TOVIK_RUN_WAIT:-5}"
  if ! kill -0 "$tovik" 2>/dev/null; then
    wait "$tovik" && status=0 || status=$?
    echo "run: Tovik ended before the screenshot (exit status $status)" >&2
    exit 1
  fi
  import -window "$1" "$screenshot" 2>/dev/null || import -window root "$screenshot"
  if [ -n "${TOVIK_RUN_ON_BENCH:-}" ]; then
    echo "run: screenshot in build/screenshot.png (Tovik ran on a virtual display nobody sees)"
  else
    echo "run: screenshot in build/screenshot.png (display $DISPLAY)"
  fi
  if [ -n "${TOVIK_RUN_SHOTS:-}" ]; then stage_shots "$TOVIK_RUN_SHOTS"; fi
  if [ "$once" = 1 ]; then exit 0; fi
  if [ -n "${TOVIK_RUN_ON_BENCH:-}" ]; then
    echo "run: no one can use Tovik on the virtual display, so it stops here;" \
         "run this with a DISPLAY to use it"
    exit 0
  fi
  echo "run: Tovik is running; close it or press Ctrl+C"
  wait "$tovik" || true
}

# On the virtual display: tools/testbench.sh runs this script again; the bench
# stops Tovik and Wine with everything else.
if [ -n "${TOVIK_RUN_ON_BENCH:-}" ]; then
  start_and_shoot root
  exit 0
fi

tools/setup.sh

# A display that is set but does not answer (an old session's number, a closed
# SSH forwarding) would make Wine fail without a word.
use_display=''
if [ -n "${DISPLAY:-}" ]; then
  if why=$(timeout 5 xdpyinfo 2>&1 >/dev/null); then
    use_display=1
  else
    [ $? -eq 124 ] && why="no answer within 5 s"
    echo "run: the display DISPLAY=$DISPLAY does not answer (${why:-no reason given})." >&2
    echo "run: running Tovik on a virtual display of its own instead; see build/screenshot.png." >&2
  fi
fi

tools/build.sh --program   # only what runs here, not the tests, the 32-bit build or the installers

if [ -z "$use_display" ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "run: no display: Tovik runs on a virtual display of its own and leaves a screenshot" \
         "at build/screenshot.png"
  fi
  export TOVIK_RUN_ON_BENCH=1 TOVIK_RUN_ONCE=$once TOVIK_WINEPREFIX=$prefix
  exec tools/testbench.sh "$0"
fi

# On the user's display: the same prefix and desktop as on the bench.
export WINEPREFIX=$prefix LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
tools/wine-prefix.sh "$prefix" "${TOVIK_SCREEN:-1024x768}"
# Every Wine process of this prefix is ours: stop them all at the end.
trap '"$wineserver" -k 2>/dev/null || true' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
echo "run: Tovik on display $DISPLAY, Wine prefix $prefix"
start_and_shoot 'Default - Wine desktop'
