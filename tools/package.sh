#!/usr/bin/env bash
# Packs what a Windows user downloads, per architecture (win64, win32):
#   dist/Tovik-<version>-<arch>.zip        portable: a folder with Tovik.exe,
#                                          bmp2jpg.exe (when built), Tovik.html,
#                                          README-ja.txt and LICENSE.txt
#   dist/Tovik-<version>-<arch>-setup.exe  per-user installer (installer/Tovik.nsi)
# The version is the project's (CMakeLists.txt). tools/build.sh runs this last;
# a package is made again only when something it is made from is newer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^project(Tovik VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then echo "package: no version in CMakeLists.txt's project()" >&2; exit 1; fi

# Text in the form Notepad shows right on every Windows: UTF-8 with a BOM, CRLF.
windows_text() { # source destination [sed script]
  { printf '\xef\xbb\xbf'; sed -e "${3:-}" -e 's/\r$//; s/$/\r/' "$1"; } >"$2.new"
  mv "$2.new" "$2"
}

# Is the first file missing or older than any of the others?
stale() {
  local out=$1; shift
  [ -f "$out" ] || return 0
  local f
  for f in "$@"; do [ "$f" -nt "$out" ] && return 0; done
  return 1
}

for arch in win64 win32; do
  name=Tovik-$version-$arch
  stage=build/package/$arch/$name
  zip=dist/$name.zip
  setup=dist/$name-setup.exe
  shipped=("dist/$arch/Tovik.exe" "dist/$arch/Tovik.html")
  [ -f "dist/$arch/bmp2jpg.exe" ] && shipped+=("dist/$arch/bmp2jpg.exe")
  for f in "${shipped[@]}"; do
    [ -f "$f" ] || { echo "package: $f is missing; run tools/build.sh" >&2; exit 1; }
  done
  sources=("${shipped[@]}" installer/readme-ja.txt LICENSE installer/Tovik.nsi
           src/resources/Tovik.ico tools/package.sh CMakeLists.txt)
  if ! stale "$zip" "${sources[@]}" && ! stale "$setup" "${sources[@]}"; then continue; fi

  # The folder as the user gets it, also what the installer installs.
  rm -rf "build/package/$arch"
  mkdir -p "$stage"
  cp -p "${shipped[@]}" "$stage/"
  windows_text installer/readme-ja.txt "$stage/README-ja.txt" "s/@VERSION@/$version/g; s/@ARCH@/$arch/g"
  windows_text LICENSE "$stage/LICENSE.txt"

  rm -f "$zip"
  (cd "build/package/$arch" && zip -q -X -r "$root/$zip" "$name")

  rm -f "$setup"
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH="$arch" \
    -DPAYLOAD="$root/$stage" -DOUTFILE="$root/$setup" installer/Tovik.nsi >build/package/makensis-$arch.log 2>&1 \
    || { cat build/package/makensis-$arch.log >&2; echo "package: makensis failed for $arch" >&2; exit 1; }
  echo "package: $zip ($(du -k "$zip" | cut -f1) KB), $setup ($(du -k "$setup" | cut -f1) KB)"
done
