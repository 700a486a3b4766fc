#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the fuzz
# targets (tools/fuzz.sh, one test in the totals), the Windows tests under Wine
# on the test bench (tools/testbench.sh), then the installer's smoke test
# (label "installer") on a bench of its own, so that the installer meets a
# fresh Wine prefix. The last line is the total over all of them:
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
tools/testbench.sh ctest --test-dir build/win64 -LE installer --output-on-failure --no-tests=error 2>&1 \
  | tee build/win64-tests.log || true
count build/win64-tests.log Windows
tools/testbench.sh ctest --test-dir build/win64 -L installer --output-on-failure --no-tests=error 2>&1 \
  | tee build/installer-tests.log || true
count build/installer-tests.log installer

if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
