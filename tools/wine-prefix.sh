#!/usr/bin/env bash
# Lays a fresh Wine prefix for Tovik at PREFIX, copied from a template:
#   tools/wine-prefix.sh PREFIX [WxH|monitors]
# The template, build/wine-template, is what every bench used to build from
# nothing: `wineboot -i` in a Japanese locale without Mono and Gecko, then one
# Wine virtual desktop named "Default" shared by every Wine process, no crash
# dialog, and Wine's symbol fonts. It is made once (about 22 s, 1.3 GB) and
# made again only when its key changes: the Wine version, wine.inf, Wine's
# fonts, the locale or the settings below. A copy takes a second or two: where the file system can share blocks
# (reflink) the copy shares them; elsewhere the system DLLs, programs and
# tables, which Wine only reads, are hard links to the template's, and every
# other file (registry, .ini, .inf, ...) is a copy of its own.
# WxH (default 1024x768) is the size of the virtual desktop; "monitors" lays
# the copy without one, so that its programs meet the display's own monitors
# (Wine reads their layout from the display when its desktop starts, so the
# copy shows the monitors of the display it runs on, not the template's).
# Uses the display in DISPLAY while it makes the template, if there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ] || [ $# -gt 2 ]; then echo "usage: $0 PREFIX [WxH]" >&2; exit 2; fi
prefix=$1
screen=${2:-1024x768}
[[ $screen =~ ^[0-9]+x[0-9]+$ || $screen == monitors ]] \
  || { echo "wine-prefix: the desktop size must be WxH or monitors, not '$screen'" >&2; exit 2; }
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
prefix=${prefix%/}

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
template=$root/build/wine-template
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}

fail() { echo "wine-prefix: $*" >&2; exit 1; }

# What the template holds besides what wineboot makes. The desktop size is
# written into each copy instead, so that benches of other sizes share it.
settings='REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
'
# No Mono or Gecko: their installers would wait for a click that never comes.
boot_overrides='mscoree,mshtml='
# Wine's symbol fonts (package fonts-wine): caption buttons, scroll arrows and
# check marks are drawn with Marlett, and without it they come out as "0 1 r".
# This Wine does not look in the folder the package puts them in, so the
# template carries them in C:\windows\Fonts, where every Wine process finds them.
symbol_fonts=(marlett.ttf symbol.ttf wingding.ttf webdings.ttf)
# Files that Wine maps or reads and no program writes: shared with the template.
shared_files=(-iname '*.dll' -o -iname '*.exe' -o -iname '*.sys' -o -iname '*.drv' -o -iname '*.ocx'
              -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' -o -iname '*.tlb' -o -iname '*.ds'
              -o -iname '*.com' -o -iname '*.nls')

key=$({
  "$wine" --version
  # With Wine's 32-bit loader installed the template is a WoW64 prefix (the
  # 32-bit system DLLs in syswow64); without it, a 64-bit one.
  [ -x /usr/lib/wine/wine ] && echo wow64
  stat -c '%n %s %Y' /usr/share/wine/wine.inf /usr/share/wine/fonts/* 2>/dev/null || true
  echo "$LANG $LC_ALL $boot_overrides ${symbol_fonts[*]}"
  echo "$settings"
} | sha256sum | cut -d' ' -f1)

# A prefix is only ever removed when it is one of ours: never ~/.wine or a
# folder that happens to be named like the one asked for.
ours() { [ -f "$1/.tovik-prefix" ] || [[ $1 == "$root/build/"* && ( -f "$1/system.reg" || -z "$(ls -A "$1")" ) ]]; }
if [ "$prefix" = "$template" ] || [[ $template == "$prefix/"* ]]; then fail "$prefix is the template's place"; fi
if [ -e "$prefix" ] && ! ours "$prefix"; then
  fail "$prefix exists and is not a Tovik test prefix; choose another folder (TOVIK_WINEPREFIX)"
fi

mkdir -p "$root/build"
exec 9>"$root/build/wine-template.lock"
flock 9   # one bench at a time makes or copies the template

making=''
cleanup() { if [ -n "$making" ]; then WINEPREFIX=$making "$wineserver" -k 2>/dev/null || true; rm -rf "$making"; fi; }
trap cleanup EXIT

make_template() {
  local log=$root/build/wine-template.log
  making=$template.new
  rm -rf "$making"
  echo "wine-prefix: making the Wine template in $template (once; about 22 s)" >&2
  WINEPREFIX=$making WINEDLLOVERRIDES=$boot_overrides "$wine" wineboot -i >"$log" 2>&1 \
    || fail "wineboot failed: $(cat "$log")"
  WINEPREFIX=$making "$wineserver" -w
  for font in "${symbol_fonts[@]}"; do
    cp "/usr/share/wine/fonts/$font" "$making/drive_c/windows/Fonts/" \
      || fail "Wine's font $font is missing: install fonts-wine (tools/setup.sh)"
  done
  printf '%s' "$settings" >"$making/drive_c/template.reg"
  WINEPREFIX=$making "$wine" regedit /S 'C:\template.reg' >>"$log" 2>&1 || fail "could not configure the template: $(cat "$log")"
  rm "$making/drive_c/template.reg"
  # The registry reaches its files when the server ends.
  WINEPREFIX=$making "$wineserver" -w
  rm -f "$making/wineserver"   # the name of that server's socket folder (below)
  echo "$key" >"$making/.tovik-template"
  rm -rf "$template"
  mv "$making" "$template"
  making=''
}

# The template is sound when its key matches and no shared file has been
# written since it was made (a program that rewrote a system DLL in place would
# have changed the template through the hard link).
sound() {
  [ "$(cat "$template/.tovik-template" 2>/dev/null)" = "$key" ] || return 1
  [ -z "$(find "$template" -type f \( "${shared_files[@]}" \) -newer "$template/.tovik-template" -print -quit)" ]
}
sound || make_template

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
if cp --reflink=always "$template/.tovik-template" "$prefix.reflink-probe" 2>/dev/null; then
  rm -f "$prefix.reflink-probe"
  cp -a --reflink=always "$template" "$prefix"
elif rm -f "$prefix.reflink-probe" && cp -al "$template" "$prefix" 2>/dev/null; then
  find "$prefix" -type f ! \( "${shared_files[@]}" \) -print0 |
    while IFS= read -r -d '' f; do cp -p "$f" "$f.private" && mv -f "$f.private" "$f"; done
else
  # Another file system than the template's: a whole copy.
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
fi
rm "$prefix/.tovik-template"
# This Wine keeps the name of its server's socket folder in the prefix; without
# it each copy's server makes a folder of its own, as a freshly booted prefix
# would, instead of sharing the template's with every other copy.
rm -f "$prefix/wineserver"
touch "$prefix/.tovik-prefix"

# The virtual desktop's size, or no virtual desktop, in the copy's own
# user.reg (no Wine is running on it yet).
awk -v size="$screen" '
  /^\[/ { explorer = index($0, "[Software\\\\Wine\\\\Explorer]") == 1
         inside = index($0, "[Software\\\\Wine\\\\Explorer\\\\Desktops]") == 1 }
  explorer && size == "monitors" && /^"Desktop"=/ { found = 1; next }
  inside && size != "monitors" && /^"Default"=/ { $0 = "\"Default\"=\"" size "\""; found = 1 }
  { print }
  END { exit !found }' "$prefix/user.reg" >"$prefix/user.reg.new" \
  || fail "the template has no desktop to set"
mv "$prefix/user.reg.new" "$prefix/user.reg"
# Without a virtual desktop the display has no window manager: Wine must not
# wait for one (it gives every hide of a managed window 2 s to be acknowledged).
if [ "$screen" = monitors ]; then
  printf '\n[Software\\\\Wine\\\\X11 Driver]\n"Managed"="N"\n' >>"$prefix/user.reg"
fi
