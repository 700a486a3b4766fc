#!/usr/bin/env bash
# Runs a command on a private test bench and tears the bench down afterwards:
#   tools/testbench.sh CMD [ARGS...]
# The bench is an Xvfb display on a free display number (TOVIK_SCREEN=WxH,
# default 1024x768), a fresh Wine prefix (TOVIK_WINEPREFIX, default
# build/wineprefix, copied from the template of tools/wine-prefix.sh) whose
# every process shares one Wine virtual desktop of the screen's size, a
# Japanese locale, and a CUPS default queue that prints to PDF files (cups-pdf).
# TOVIK_BENCH=twomonitors gives two monitors instead: an Xorg display with the
# dummy driver, the primary 1280x800 at (0, 0) and a second one 1024x768 at
# (1280, 0), a virtual screen of 2304x800 with a strip no monitor covers, and
# no Wine virtual desktop (that would always show one monitor); no printer.
# TOVIK_BENCH=desktopless is the usual Xvfb display without the Wine
# virtual desktop: every window is a window of the display itself, as on a
# plain X display, where a window drawn with OpenGL shows on the screen.
# CMD sees DISPLAY, WINEPREFIX, LANG/LC_ALL, TOVIK_PRINTER (the queue's name),
# TOVIK_PRINTER2 (a second such queue, not the default) and TOVIK_PDF_DIR
# (where cups-pdf leaves what was printed).
# Exits with CMD's status; stops only what it started, and removes the queues
# it added and gives back the default printer it replaced.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then echo "usage: $0 CMD [ARGS...]" >&2; exit 2; fi

bench=${TOVIK_BENCH:-}
case $bench in '' | desktopless) ;; twomonitors) TOVIK_SCREEN=2304x800 ;; *) echo "testbench: no bench '$bench'" >&2; exit 2 ;; esac
screen=${TOVIK_SCREEN:-1024x768}
if ! [[ $screen =~ ^[0-9]+x[0-9]+$ ]]; then echo "testbench: TOVIK_SCREEN must be WxH, not '$screen'" >&2; exit 2; fi
export WINEPREFIX=${TOVIK_WINEPREFIX:-$root/build/wineprefix}
case $WINEPREFIX in /*) ;; *) WINEPREFIX=$PWD/$WINEPREFIX ;; esac   # Wine takes absolute paths only
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all TOVIK_PRINTER=PDF TOVIK_PRINTER2=PDF2 TOVIK_PDF_DIR=$HOME/PDF
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

state=$(mktemp -d /tmp/tovik-bench.XXXXXX)
xvfb_pid='' cupsd_pid='' wine_up='' cmd_pid=''
queues_added=() old_default='' default_set=''

stop() {
  local status=$?
  trap - EXIT INT TERM
  if [ -n "$cmd_pid" ]; then kill "$cmd_pid" 2>/dev/null || true; wait "$cmd_pid" 2>/dev/null || true; fi
  if [ -n "$wine_up" ]; then "$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  # The printers as they were: the queues this bench added go, the default it replaced returns.
  for queue in "${queues_added[@]}"; do lpadmin -x "$queue" 2>/dev/null || true; done
  if [ -n "$default_set" ] && [ -n "$old_default" ]; then lpadmin -d "$old_default" 2>/dev/null || true; fi
  if [ -n "$cupsd_pid" ]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
  rm -rf "$state"
  exit "$status"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() { echo "testbench: $*" >&2; exit 1; }
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# Display: the server picks a free number itself and writes it once it accepts clients.
if [ "$bench" = twomonitors ]; then
  # One dummy device whose frame buffer holds both monitors side by side.
  printf '%s\n' 'Section "ServerFlags"' '  Option "AutoAddDevices" "false"' '  Option "DontVTSwitch" "true"' \
    'EndSection' 'Section "Device"' '  Identifier "dummy"' '  Driver "dummy"' '  VideoRam 65536' 'EndSection' \
    'Section "Monitor"' '  Identifier "monitor"' '  HorizSync 5.0-1000.0' '  VertRefresh 5.0-200.0' 'EndSection' \
    'Section "Screen"' '  Identifier "screen"' '  Device "dummy"' '  Monitor "monitor"' '  DefaultDepth 24' \
    '  SubSection "Display"' '    Depth 24' "    Virtual ${screen/x/ }" '  EndSubSection' 'EndSection' \
    >"$state/xorg.conf"
  Xorg -config "$state/xorg.conf" -configdir "$state" -noreset -nolisten tcp -logfile "$state/xorg.log" \
    -displayfd 3 3>"$state/display" >"$state/xvfb.log" 2>&1 &
else
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 &
fi
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$state/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "the X server did not start: $(cat "$state/xvfb.log")"
  sleep 0.1
done
[ -s "$state/display" ] || fail "the X server gave no display number within 10 s"
export DISPLAY=:$(head -n1 "$state/display")
if [ "$bench" = twomonitors ]; then
  # Wine 8 reads black from a monitor left of the primary, so the second one is on its right.
  xrandr --addmode DUMMY1 1024x768 &&
    xrandr --output DUMMY0 --mode 1280x800 --pos 0x0 --primary --output DUMMY1 --mode 1024x768 --pos 1280x0 \
    || fail "could not lay out the two monitors: $(xrandr 2>&1 | head -n5)"
  # A full query makes the server probe its outputs; until one has, the
  # second monitor reads as disconnected to a client that asks for the
  # current layout only, as Wine does.
  xrandr --query >/dev/null
fi

# Printing: a running scheduler with a default queue that writes PDF files.
if [ "$bench" = twomonitors ]; then :
elif ! LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd -f >"$state/cupsd.log" 2>&1 &
  cupsd_pid=$!
  deadline=$((SECONDS + 30))
  until LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running' || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
  LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running' || fail "cupsd did not start: $(cat "$state/cupsd.log")"
fi
old_default=$(LC_ALL=C lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
[ "$bench" = twomonitors ] || for queue in "$TOVIK_PRINTER" "$TOVIK_PRINTER2"; do
  lpstat -v "$queue" >/dev/null 2>&1 && continue
  lpadmin -p "$queue" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>"$state/lpadmin.log" \
    || fail "could not add the PDF queue $queue: $(cat "$state/lpadmin.log")"
  queues_added+=("$queue")
done
if [ "$bench" != twomonitors ] && [ "$old_default" != "$TOVIK_PRINTER" ]; then
  default_set=1
  lpadmin -d "$TOVIK_PRINTER"
fi

# Wine: a fresh prefix every run, so nothing one run leaves behind reaches the
# next; it is copied from a template made once (tools/wine-prefix.sh).
started=$(now)
desktop=$screen
[ -n "$bench" ] && desktop=monitors   # no virtual desktop
"$root/tools/wine-prefix.sh" "$WINEPREFIX" "$desktop" || fail "could not lay the Wine prefix in $WINEPREFIX"
wine_up=1
# One server for the whole run, so that every program shares the virtual
# desktop and starts in a fraction of a second.
"$wineserver" -p
# Bring up the desktop and Wine's services now, their output going to a log:
# started later by CMD's first program, they would inherit its output and keep
# ctest waiting on the pipe for as long as the bench lives.
if [ -n "$bench" ]; then
  # The display's own root is the desktop, brought up by Wine's first
  # program; Wine takes the monitors it finds on the display now.
  timeout 60 "$wine" cmd /c exit >>"$state/desktop.log" 2>&1 || fail "Wine did not start: $(cat "$state/desktop.log")"
else
  "$wine" explorer /desktop=Default,"$screen" >"$state/desktop.log" 2>&1 &
  deadline=$((SECONDS + 30))
  until xwininfo -name 'Default - Wine desktop' >/dev/null 2>&1 || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
  xwininfo -name 'Default - Wine desktop' >/dev/null 2>&1 || fail "the Wine desktop did not appear: $(cat "$state/desktop.log")"
fi
echo "testbench: display $DISPLAY ${screen}, Wine prefix ready in $(since "$started") s" >&2

# CMD runs in the background so that a signal reaches the trap at once; it keeps
# this script's input, if there is one.
if [ -e /dev/fd/0 ]; then "$@" <&0 & else "$@" </dev/null & fi
cmd_pid=$!
wait "$cmd_pid" && status=0 || status=$?
cmd_pid=''
exit "$status"
