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
# Each architecture's Windows tests, then its installer's smoke test. The
# 32-bit ones run only where this kernel executes 32-bit code, which a probe
# tells; elsewhere they are named as not run, and never count as passed.
not_run=0
for arch in win64 win32; do
  if [ "$arch" = win32 ] && ! reason=$(tools/probe32.sh); then
    names=$(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*/\1/p' build/win64-tests.log \
              build/win64-desktopless-tests.log build/win64-twomonitors-tests.log build/win64-installer-tests.log)
    n=$(grep -c . <<<"$names" || true)
    not_run=$((not_run + n))
    echo "!!! test: the $n 32-bit tests were NOT RUN: $reason. Not run (win32):" >&2
    sed 's/^/!!!   /' <<<"$names" >&2
    continue
  fi
  began=$SECONDS
  tools/testbench.sh ctest --test-dir "build/$arch" -LE 'installer|desktopless|twomonitors|hugescreen' --output-on-failure \
    --no-tests=error 2>&1 | tee "build/$arch-tests.log" || true
  count "build/$arch-tests.log" "$arch Windows"
  TOVIK_BENCH=desktopless tools/testbench.sh ctest --test-dir "build/$arch" -L desktopless --output-on-failure \
    --no-tests=error 2>&1 | tee "build/$arch-desktopless-tests.log" || true
  count "build/$arch-desktopless-tests.log" "$arch desktopless"
  tools/testbench.sh ctest --test-dir "build/$arch" -L installer --output-on-failure --no-tests=error 2>&1 \
    | tee "build/$arch-installer-tests.log" || true
  count "build/$arch-installer-tests.log" "$arch installer"
  TOVIK_BENCH=twomonitors tools/testbench.sh ctest --test-dir "build/$arch" -L twomonitors --output-on-failure \
    --no-tests=error 2>&1 | tee "build/$arch-twomonitors-tests.log" || true
  count "build/$arch-twomonitors-tests.log" "$arch two-monitor"
  if [ "$arch" = win32 ]; then
    TOVIK_SCREEN=7680x4320 tools/testbench.sh ctest --test-dir "build/$arch" -L hugescreen --output-on-failure \
      --no-tests=error 2>&1 | tee "build/$arch-hugescreen-tests.log" || true
    count "build/$arch-hugescreen-tests.log" "$arch huge-screen"
  fi
  echo "test: the $arch tests took $((SECONDS - began)) s" >&2
done

summary="$passed passed, $failed failed"
[ "$skipped" -gt 0 ] && summary+=", $skipped skipped"
[ "$not_run" -gt 0 ] && summary+=", $not_run not run"
echo "$summary"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
