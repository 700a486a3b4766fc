#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the fuzz
# targets (tools/fuzz.sh, one test in the totals), then for the 64-bit and then
# the 32-bit build: the Windows tests under Wine on the test bench
# (tools/testbench.sh); those that need a display without Wine's virtual
# desktop (label "desktopless") on a bench without one; the two-monitor
# tests (label "twomonitors") on the two-monitor bench
# (TOVIK_BENCH=twomonitors); for the 32-bit build, the test of a screen of
# 7680x4320 (label "hugescreen") on a bench that size; the installer's smoke
# test (label "installer") on a bench of its own, so that the installer meets
# a fresh Wine prefix.
# The last line is the total over all of them:
# "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
tools/build.sh

passed=0 failed=0 skipped=0
# Adds one ctest run to the totals, from its summary
# ("..% tests passed, F tests failed out of T") and its list of skipped tests.
count() { # log name
  local line f t s
  line=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$1" | tail -n1 || true)
  if [ -z "$line" ]; then
    echo "test: the $2 tests reported no results" >&2
    failed=$((failed + 1))
    return
  fi
  read -r f t < <(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/' <<<"$line")
  s=$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$1" || true)
  passed=$((passed + t - f - s)) failed=$((failed + f)) skipped=$((skipped + s))
}

mkdir -p build
ctest --test-dir build/native --output-on-failure --no-tests=error 2>&1 | tee build/native-tests.log || true
count build/native-tests.log native
# The fuzz targets, run for a bounded time each, count as one test.
if tools/fuzz.sh 2>&1 | tee build/fuzz.log; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
# Each architecture's Windows tests, one bench after another: the tests of
# the usual bench, those that need a display without Wine's virtual desktop,
# the installer's smoke test (a bench of its own, so that the installer meets
# a fresh Wine prefix), the two-monitor tests and, for the 32-bit build, the
# huge-screen test. A line of the table: the log's suffix, the bench's
# settings, which architectures, the tests (ctest's label selection).
benches='
-            -                        all    -LE installer|desktopless|twomonitors|hugescreen
desktopless  TOVIK_BENCH=desktopless  all    -L desktopless
installer    -                        all    -L installer
twomonitors  TOVIK_BENCH=twomonitors  all    -L twomonitors
hugescreen   TOVIK_SCREEN=7680x4320   win32  -L hugescreen
'
# The 32-bit ones run only where this kernel executes 32-bit code, which a
# probe tells; elsewhere they are named as not run, and never count as passed.
not_run=0
for arch in win64 win32; do
  if [ "$arch" = win32 ] && ! reason=$(tools/probe32.sh); then
    names=$(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*/\1/p' build/win64*-tests.log)
    n=$(grep -c . <<<"$names" || true)
    not_run=$((not_run + n))
    echo "!!! test: the $n 32-bit tests were NOT RUN: $reason. Not run (win32):" >&2
    sed 's/^/!!!   /' <<<"$names" >&2
    continue
  fi
  began=$SECONDS
  # The table comes on its own descriptor: the tests keep this script's input.
  while read -r name settings arches selection <&3; do
    [ -n "$name" ] || continue
    [ "$arches" = all ] || [ "$arches" = "$arch" ] || continue
    log=build/$arch-tests.log
    [ "$name" = - ] || log=build/$arch-$name-tests.log
    # shellcheck disable=SC2086 # the settings and the selection are words
    env ${settings/#-/} tools/testbench.sh ctest --test-dir "build/$arch" $selection --output-on-failure \
      --no-tests=error 2>&1 | tee "$log" || true
    count "$log" "$arch ${name/#-/Windows}"
  done 3<<<"$benches"
  echo "test: the $arch tests took $((SECONDS - began)) s" >&2
done

summary="$passed passed, $failed failed"
[ "$skipped" -gt 0 ] && summary+=", $skipped skipped"
[ "$not_run" -gt 0 ] && summary+=", $not_run not run"
echo "$summary"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
