#!/usr/bin/env bash
# Prints the memory the 32-bit Tovik.exe takes on a screen of 7680x4320:
#   bench/memory.sh            (builds first)
# The huge-screen test (tests/windows/program/huge_screen_test.cpp) drives the
# program through a desktop capture, a delayed one, a full-screen rectangle
# and a PNG and a JPEG save of it, and prints for each step the most private
# memory and working set the program had: GetProcessMemoryInfo, sampled every
# 2 ms (Wine reads them from /proc; its working set holds the shared memory
# of the windows' pictures too, which the private figure does not). One full
# picture of that screen is 127 MB.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
TOVIK_SCREEN=7680x4320 TOVIK_WINEPREFIX="$root/build/bench-prefix" "$root/tools/testbench.sh" \
  ctest --test-dir "$root/build/win32" -L hugescreen -V | sed -n 's/.*\[ figures  \] //p'
