#!/usr/bin/env bash
# Builds Tovik three ways (Release, Ninja), each in its own tree:
#   build/native  host g++: the portable logic and its unit tests
#   build/win64   x86_64-w64-mingw32: Tovik.exe, the Windows tests, benchmarks
#   build/win32   i686-w64-mingw32: the same for the 32-bit programs
# then packs dist/Tovik-<version>-<arch>.zip and -setup.exe (tools/package.sh).
#   tools/build.sh --program   builds only what tools/run.sh starts: the 64-bit
#                              Tovik.exe and bmp2jpg.exe, with the help beside them
# Running it again only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

tree() { # name cmake-options... [-- targets...]
  local dir=build/$1; shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=("$@")
  # Configure once; after that ninja re-runs cmake itself when a CMakeLists changes.
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${options[@]}"
  fi
  cmake --build "$dir" ${targets[@]+--target "${targets[@]}"}
}

if [ "${1:-}" = --program ]; then
  tree win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" -- Tovik bmp2jpg
  cp -u help/Tovik.html dist/win64/
  exit 0
fi

tree native
tree win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake"
tree win32 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake"

# Tovik.exe and the converter bmp2jpg.exe are linked straight into
# dist/<name>/; the help shipped beside them is copied there.
for name in win64 win32; do cp -u help/Tovik.html "dist/$name/"; done

# The zip files and installers of dist/, from what is now in dist/<name>/.
tools/package.sh
